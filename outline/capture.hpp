#pragma once
// The capture: a line of text laid into a path, flattened, read back into the
// captured outline and drawn, one polygon per closed figure.
//
//   lw::NullCanvas canvas;
//   lw::DeviceContext dc(canvas);
//   lw::CapturedOutline outline;
//   lw::WindowFont font;                       // "ＭＳ Ｐゴシック", 24 pt
//   lw::drawFlattenPath(lw::Placement::PreviewCentre, {"編集テキスト", font}, dc, outline);

#include "base/design.hpp"
#include "outline/captured_outline.hpp"
#include "outline/curved_path.hpp"
#include "outline/text_output.hpp"
#include "outline/text_style.hpp"
#include "outline/window_font.hpp"
#include "platform/device_context.hpp"

#include <cstdint>
#include <optional>
#include <string_view>

namespace lw {

// What a capture reads from the window.
struct CaptureSource {
    std::string_view text;        // UTF-8
    const WindowFont& font;       // face name, size, italic/underline/strikeout
    std::int32_t angle = 0;       // the angle slider's position, degrees
    float scaleWidth = design::kPreviewWidth; // the preview's drawing area, pixels
    float scaleHeight = design::kPreviewHeight;
    double twipsPerPixelX = design::kTwipsPerPixel; // the screen's, one value for every reader
    Advances advances = Advances::Device; // Linear for a capture at a chosen precision
    // Spacing, width, weight and arc; the default changes nothing. On an
    // arc the circle's centre is the capture's origin (the preview's centre
    // when centred) and the angle is not used.
    TextStyle style{};
    // For a drawing that shows only this part of the canvas: glyphs wholly
    // outside it may be left out of the outline (flattenPathWithin), which
    // then serves that drawing and nothing else.
    std::optional<DeviceArea> shownArea{};
};

// Where a capture puts the text. Its value is the design's alCent, which is
// also the alignment code handed to outputText.
enum class Placement : std::int32_t {
    Origin = 0,        // the text's top-left corner at (0, 0)
    PreviewCentre = 1, // the middle of its top edge at the preview's centre
};

// The design's alCent, where a caller holds it as a number: 0 is the
// origin, any other value the preview's centre.
constexpr Placement placementFor(std::int32_t alCent)
{
    return alCent == 0 ? Placement::Origin : Placement::PreviewCentre;
}

// Device pixels per typographic point: 1440 / twips per pixel / 72; a zero
// or non-finite value is the floating-point failure.
double pixelsPerPoint(double twipsPerPixelX);

// Captures with the text placed as asked, replaces `outline` whole and
// draws each closed figure as a polygon on the device context's canvas.
// With `curved`, the path before flattening is read into it as well.
void drawFlattenPath(Placement placement, const CaptureSource& source, DeviceContext& dc,
                     CapturedOutline& outline, CurvedPath* curved = nullptr);

// Shared by both captures: the path bracket around the text, then the
// flattened path read into the outline's arrays (flattenPathInto).
// `spacing` and `slant` are outputText's, the spacing in device pixels;
// `shownArea` as in CaptureSource.
void capturePath(DeviceContext& dc, const LOGFONT& logFont, std::string_view text,
                 std::int32_t alignment, std::int32_t x0, std::int32_t y0, CapturedOutline& outline,
                 Advances advances = Advances::Device, double spacing = 0, CurvedPath* curved = nullptr,
                 const DeviceArea* shownArea = nullptr, double slant = 0);

// After EndPath: the curves (with `curved`) and the flattened path read
// into the outline's arrays, replacing them.
void readPath(DeviceContext& dc, CapturedOutline& outline, CurvedPath* curved = nullptr,
              const DeviceArea* shownArea = nullptr);

} // namespace lw
