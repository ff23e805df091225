// A stroke face in the window: the preview's open lines and their save.

#include "form/form1.hpp"

#include "base/failure.hpp"
#include "base/numbers.hpp"
#include "export/byte_files.hpp"
#include "export/offscreen_capture.hpp"
#include "form/stroke_drawing.hpp"
#include "outline/precision.hpp"

#include <cstdio>
#include <new>
#include <optional>

namespace lw {
namespace {

StrokeStyle strokeStyle(const WindowFont& font, std::int32_t angle, const TextStyle& style)
{
    return {.sizePoints = font.size,
            .angle = angle,
            .spacingPoints = style.spacing,
            .widthPercent = style.widthPercent};
}

} // namespace

void Form1::drawStrokes()
{
    const std::string text = view_.text(TextBox::txtInput);
    // The outline drawings' own state describes no drawing now.
    preview_.reset();
    outlineOwed_ = false;
    toolReport_.reset();
    toolMarks_.clear();
    StrokeText laid;
    StrokeStyle style = strokeStyle(font_, view_.position(Slider::sldAngle), style_);
    // The pen the next save draws with.
    if (saveSettings_)
        style.penMm = saveSettings_->cad.penMm;
    try {
        laid = layStrokeFace(font_.strokeFace, text, style, strokeFonts_);
    } catch (const Failure& failure) {
        // A stroke font gone or spoilt since it was chosen: said, and the
        // outline face draws, so the work goes on.
        font_.strokeFace.clear();
        tell(std::string(failure.what()) + "; the outline face draws instead.");
        drawFlattenPath(1);
        return;
    }
    DeviceContext& dc = view_.previewDC();
    dc.canvas().clear();
    const POINT centre{roundToInt32(double(view_.previewScaleWidth()) / 2, "preview centre"),
                       roundToInt32(double(view_.previewScaleHeight()) / 2, "preview centre")};
    drawStrokePreview(laid.lines, 1440.0 / view_.twipsPerPixelX() / kMmPerInch, centre, dc.canvas());
    ++redrawCount_;
    view_.refresh();
    // The quiet note under the text box, as for an outline face: another
    // stroke face drew characters the chosen one lacks.
    faceNoteAsked_.clear();
    std::optional<FaceNote> note;
    if (!laid.drewToo.empty())
        note = FaceNote{FaceNoteKind::LacksText, font_.strokeFace, laid.drewToo.front()};
    if (note != faceNote_) {
        faceNote_ = std::move(note);
        view_.showFaceNote(faceNote_);
    }
    rememberTextSettings();
    showWindowNote();
}

bool Form1::centrelineChosen() const
{
    return runMode_.empty() && saveSettings_ && saveSettings_->cad.centreline &&
           takesCadChoices(saveSettings_->format) && font_.strokeFace.empty();
}

bool Form1::drawCentreline()
{
    const std::string text = view_.text(TextBox::txtInput);
    const SaveSettings& save = *saveSettings_;
    const double dpi = saveDpi(save.precision, font_.size);
    std::optional<OffscreenCapture> made;
    OpenLines lines;
    try {
        // Centred as the preview shows the outline, on the save's grid.
        made.emplace(CaptureSource{text, font_, view_.position(Slider::sldAngle), design::kPreviewWidth,
                                   design::kPreviewHeight, design::kTwipsPerPixel, saveAdvances(save.precision),
                                   style_},
                     Placement::PreviewCentre, dpi);
        lines = made->centreline(SaveFormat::Svg);
    } catch (const Failure& failure) {
        // The text overflows the fine grid: the save will say so; the
        // preview shows the outline as it does then.
        if (failure.kind() != FailureKind::Overflow)
            throw;
        return false;
    }
    lines.penMm = save.cad.penMm;
    preview_.reset();
    outlineOwed_ = false;
    toolReport_.reset();
    toolMarks_.clear();
    DeviceContext& dc = view_.previewDC();
    dc.canvas().clear();
    drawOpenLinesPreview(lines, previewFrame(dpi), dc.canvas());
    ++redrawCount_;
    view_.refresh();
    showFaceNote(text, made->outline());
    rememberTextSettings();
    showWindowNote();
    return true;
}

void Form1::saveStrokes(const SaveChoice& choice, const std::string& text)
{
    if (const std::string refused = strokeSaveRefusal(choice.format, choice.cad, style_); !refused.empty()) {
        tell(refused);
        return;
    }
    try {
        StrokeStyle style = strokeStyle(font_, view_.position(Slider::sldAngle), style_);
        style.anchor = choice.cad.anchor;
        style.mirror = choice.cad.mirror;
        style.penMm = choice.cad.penMm;
        const StrokeText laid = layStrokeFace(font_.strokeFace, text, style, strokeFonts_);
        if (const std::string missing = strokeMissingNote(laid.missing); !missing.empty()) {
            tell(missing);
            return;
        }
        OutputFile file(choice.path);
        writeOpenLinesDrawing(file.stream(), laid.lines,
                              {.format = choice.format,
                               .text = text,
                               .sizePoints = font_.size,
                               .angle = view_.position(Slider::sldAngle),
                               .anchor = choice.cad.anchor,
                               .mirror = choice.cad.mirror,
                               .merge = choice.cad.merge,
                               .offsetMm = choice.cad.offsetMm,
                               // The precision's own grid: lines have no em to fit whole.
                               .dpi = dpiForStep(savePrecisionDesign(choice.precision).stepMm),
                               .output = choice.output},
                              cutWork_);
        file.close();
        savedTo_ = choice.path;
        showWindowNote();
    } catch (const Failure& failure) {
        tell(failure.what());
    } catch (const std::bad_alloc&) {
        tell("Out of memory: nothing was written to " + choice.path);
    }
}

} // namespace lw
