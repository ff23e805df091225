// The preview's tool check: the drawing a save would write, measured
// against the user's tool, its narrow places and islands marked.

#include "form/form1.hpp"

#include "base/failure.hpp"
#include "base/numbers.hpp"
#include "export/offscreen_capture.hpp"
#include "outline/glyph_points.hpp"
#include "outline/work_bound.hpp"

#include <cstdio>
#include <new>

namespace lw {
namespace {

// A message box holds a screenful; the marks show every place.
std::string shortened(const std::string& text, int mostLines)
{
    std::size_t at = 0;
    for (int line = 0; line < mostLines; ++line) {
        at = text.find('\n', at);
        if (at == std::string::npos)
            return text;
        ++at;
    }
    int more = 0;
    for (std::size_t k = at; k < text.size(); ++k)
        more += text[k] == '\n';
    return text.substr(0, at) + "... (" + std::to_string(more) + " more)\n";
}

} // namespace

MarkFrame Form1::previewFrame(double dpi) const
{
    // The capture's reference point is the design preview's centre on its
    // grid; the preview's is its own centre, at the screen's scale.
    const double toScreen = 1440.0 / view_.twipsPerPixelX() / dpi;
    const double gridX = roundToInt32(double(design::kPreviewWidth) / 2, "preview centre");
    const double gridY = roundToInt32(double(design::kPreviewHeight) / 2, "preview centre");
    const double screenX = roundToInt32(double(view_.previewScaleWidth()) / 2, "preview centre");
    const double screenY = roundToInt32(double(view_.previewScaleHeight()) / 2, "preview centre");
    return {.originX = screenX - gridX * toScreen,
            .originY = screenY - gridY * toScreen,
            .pixelsPerMm = dpi / kMmPerInch * toScreen};
}

void Form1::checkForTool()
{
    if (!font_.strokeFace.empty() || centrelineChosen()) {
        tell(std::string("The tool check measures closed outlines; ") +
             (font_.strokeFace.empty() ? "a centreline's open lines have none. Leave the save's centreline off"
                                       : "a stroke font's open lines have none. Choose an outline face") +
             " to check.");
        return;
    }
    const std::optional<double> asked = view_.chooseToolSize(toolMm_);
    if (!asked)
        return;
    toolMm_ = *asked;
    view_.writeTextSetting("tool", encodeToolSize(toolMm_));

    // The save dialog's choices, as the next save writes them; in a run
    // mode, which saves none, the window's own default.
    const SaveSettings save = runMode_.empty() && saveSettings_ ? *saveSettings_ : SaveSettings{};
    const bool cadChoices = takesCadChoices(save.format);
    const double dpi = saveDpi(save.precision, font_.size);
    const double offsetPixels = cadChoices ? save.cad.offsetMm * dpi / kMmPerInch : 0;
    const std::string text = view_.text(TextBox::txtInput);
    const std::int32_t angle = view_.position(Slider::sldAngle);
    GlyphPointCounts counts(text, font_, angle, style_);
    if (const std::uint64_t points = counts.estimateWithin(dpi, kMaxOutlinePoints, offsetPixels);
        points > kMaxOutlinePoints) {
        tell("The outline of this text at this size could have about " + std::to_string(points) +
             " points at this precision, above the limit of " + std::to_string(kMaxOutlinePoints) +
             "; choose a coarser precision, a shorter text or a smaller size. Nothing was checked.");
        return;
    }
    try {
        // Centred as the preview shows it, on the save's grid: the same
        // figures as the save's up to where they stand, so the places fall
        // on the preview's drawing.
        OffscreenCapture capture({text, font_, angle, design::kPreviewWidth, design::kPreviewHeight,
                                  design::kTwipsPerPixel, saveAdvances(save.precision), style_},
                                 Placement::PreviewCentre, dpi);
        CadOptions cad{.merge = true, .offsetPixels = offsetPixels};
        if (cadChoices && save.cad.stencilMm > 0) {
            cad.stencilPixels = save.cad.stencilMm * dpi / kMmPerInch;
            cad.stencilBridges = save.cad.stencilBridges;
        }
        ToolReport report = capture.check(SaveFormat::Svg, cad, toolMm_);

        const MarkFrame frame = previewFrame(dpi);
        // The marks go on the text as the preview draws it: not on an
        // earlier check's marks, nor on the inspection drawing.
        drawFlattenPath(1);
        toolMarks_ = lw::toolMarks(report, frame);
        drawToolMarks(view_.previewDC().canvas(), toolMarks_);
        toolReport_ = std::move(report);
        view_.refresh();
        StringSink said;
        writeToolReportText(said, *toolReport_);
        tell(shortened(said.text(), 12));
    } catch (const Failure& failure) {
        tell(failure.what());
    } catch (const std::bad_alloc&) {
        tell("Out of memory: the drawing was not checked");
    }
}

} // namespace lw
