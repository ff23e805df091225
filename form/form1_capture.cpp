// The preview's capture: the text drawn flattened as the design captures it,
// or on the save's grid in the window's own mode, and what the window says of
// the face that drew it.

#include "form/form1.hpp"

#include "base/failure.hpp"
#include "base/numbers.hpp"
#include "export/capture_json.hpp"
#include "export/face_note.hpp"
#include "form/face_note_key.hpp"
#include "form/overlay_shift.hpp"
#include "form/run_mode.hpp"
#include "form/save_preview.hpp"
#include "outline/arc_guide.hpp"
#include "outline/arc_text.hpp"
#include "outline/capture.hpp"
#include "outline/segment_drawing.hpp"
#include "platform/canvas.hpp"

#include <utility>

namespace lw {

CaptureSource Form1::captureSource(const std::string& text) const
{
    return {text,
            font_,
            view_.position(Slider::sldAngle),
            view_.previewScaleWidth(),
            view_.previewScaleHeight(),
            view_.twipsPerPixelX(),
            Advances::Device,
            style_};
}

void Form1::drawFlattenPath(std::int32_t alCent) { capture(alCent, view_.previewShownArea()); }

std::optional<SavePrecision> Form1::previewGrid() const
{
    if (!runMode_.empty() || !saveSettings_)
        return std::nullopt;
    const double screen = view_.twipsPerPixelX();
    if (isScreenGrid(saveGrid(saveSettings_->precision, font_.size, screen), screen))
        return std::nullopt;
    return saveSettings_->precision;
}

void Form1::capture(std::int32_t alCent, std::optional<DeviceArea> shown)
{
    if (!font_.strokeFace.empty() && alCent != 0) {
        drawStrokes();
        return;
    }
    if (alCent != 0 && centrelineChosen() && drawCentreline())
        return;
    const std::string text = view_.text(TextBox::txtInput);
    CaptureSource source = captureSource(text);
    const std::optional<SavePrecision> grid = alCent != 0 ? previewGrid() : std::nullopt;
    std::optional<PreviewCapture> now;
    if (shown || grid)
        now = PreviewCapture{text,   font_,  source.angle, source.scaleWidth, source.scaleHeight, source.twipsPerPixelX,
                             style_, alCent, shown,        grid};
    // The preview shows this very capture already (the load's second draw):
    // capturing again would draw the same pixels and the same outline.
    const CapturedOutline* drew = grid ? &gridOutline_ : &outline_;
    // A tool check's marks belong to the drawing they were found on.
    if (toolReport_) {
        toolReport_.reset();
        toolMarks_.clear();
        preview_.reset();
    }
    if (!now || now != preview_ || !outlineOwed_) {
        preview_.reset();
        outlineOwed_ = false;
        if (!grid || !drawOnSaveGrid(source, alCent, shown, *grid)) {
            drew = &outline_;
            if (now) {
                now->grid.reset();
                if (!shown)
                    now.reset();
            }
            source.shownArea = shown;
            lw::drawFlattenPath(placementFor(alCent), source, view_.previewDC(), outline_);
        }
        if (style_.arc.isArc())
            drawArcGuide(source, alCent);
        preview_ = std::move(now);
        outlineOwed_ = preview_.has_value();
    }
    ++redrawCount_;
    view_.refresh();
    showFaceNote(text, *drew);
    rememberTextSettings();
    showWindowNote();
}

void Form1::drawArcGuide(const CaptureSource& source, std::int32_t alCent)
{
    POINT reference{};
    if (placementFor(alCent) == Placement::PreviewCentre)
        reference = {roundToInt32(double(source.scaleWidth) / 2, "preview centre"),
                     roundToInt32(double(source.scaleHeight) / 2, "preview centre")};
    const ArcLine line = arcLine(style_.arc, 1440.0 / source.twipsPerPixelX);
    lw::drawArcGuide(view_.previewDC(), line, arcCentre(line, reference, alCent != 0));
}

bool Form1::drawOnSaveGrid(const CaptureSource& source, std::int32_t alCent, std::optional<DeviceArea> shown,
                           SavePrecision precision)
{
    const SaveGrid grid = saveGrid(precision, font_.size, source.twipsPerPixelX);
    // About the classic capture's own reference point: the grid's capture
    // takes its reference at its origin, so only the scale moves points.
    const Placement placement = placementFor(alCent);
    POINT reference{};
    if (placement == Placement::PreviewCentre)
        reference = {roundToInt32(double(source.scaleWidth) / 2, "preview centre"),
                     roundToInt32(double(source.scaleHeight) / 2, "preview centre")};
    CaptureSource onGrid = source;
    onGrid.scaleWidth = onGrid.scaleHeight = 0;
    onGrid.twipsPerPixelX = 1440.0 / grid.dpi;
    onGrid.advances = grid.advances;
    if (shown)
        onGrid.shownArea = gridArea(*shown, reference, grid.toScreen);
    try {
        lw::drawFlattenPath(placement, onGrid, gridDC_, gridOutline_);
    } catch (const Failure& failure) {
        // The text overflows the fine grid's 32-bit pixels where the
        // screen's still hold it: the save will say so; the preview
        // shows the classic capture. Any other failure is the classic
        // capture's too.
        if (failure.kind() != FailureKind::Overflow)
            throw;
        return false;
    }
    drawSavePreview(gridOutline_, grid.toScreen, reference, view_.previewDC());
    return true;
}

void Form1::previewAreaChanged()
{
    // Only a drawing limited to the part it showed lacks what shows now.
    if (preview_ && preview_->shown)
        drawFlattenPath(preview_->alCent);
}

void Form1::completeOutline() const
{
    if (!outlineOwed_ || !preview_)
        return;
    const PreviewCapture& was = *preview_;
    NullCanvas canvas;
    DeviceContext dc(canvas);
    const CaptureSource source{was.text,           was.font,         was.angle, was.scaleWidth, was.scaleHeight,
                               was.twipsPerPixelX, Advances::Device, was.style};
    lw::drawFlattenPath(placementFor(was.alCent), source, dc, outline_);
    outlineOwed_ = false;
}

const CapturedOutline& Form1::capturedOutline() const
{
    completeOutline();
    return outline_;
}

void Form1::showFaceNote(const std::string& text, const CapturedOutline& drew)
{
    // Asking the platform which face draws is not free; a size or an angle
    // dragged on a slider never changes the answer.
    std::string asked = faceNoteKey(font_.faceName, font_.italic, drew.logFont.lfWeight >= FW_BOLD, text);
    if (asked == faceNoteAsked_)
        return;
    faceNoteAsked_ = std::move(asked);
    std::optional<FaceNote> note = lw::faceNote(font_.faceName, faceThatDrew(drew, font_.italic, text));
    // The view is told only of a change: most redraws keep the note.
    if (note == faceNote_)
        return;
    faceNote_ = std::move(note);
    view_.showFaceNote(faceNote_);
}

} // namespace lw
