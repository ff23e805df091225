#pragma once
// The capture: a line of text laid into a path, flattened, read back into the
// captured outline and drawn, one polygon per closed figure.
//
//   lw::NullCanvas canvas;
//   lw::DeviceContext dc(canvas);
//   lw::CapturedOutline outline;
//   lw::WindowFont font;                       // "ＭＳ Ｐゴシック", 24 pt
//   std::int32_t alCent = 1;
//   lw::drawFlattenPath(alCent, {"編集テキスト", font}, dc, outline);

#include "outline/captured_outline.hpp"
#include "outline/design.hpp"
#include "outline/text_output.hpp"
#include "outline/window_font.hpp"
#include "platform/device_context.hpp"

#include <cstdint>
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
};

// Device pixels per typographic point: 1440 / twips per pixel / 72; a zero
// or non-finite value is the floating-point failure.
double pixelsPerPoint(double twipsPerPixelX);

// Captures with the text centred in the preview (alCent != 0, alignment 1)
// or at the origin (alCent 0, alignment 0), replaces `outline` whole and
// draws each closed figure as a polygon on the device context's canvas.
void drawFlattenPath(std::int32_t& alCent, const CaptureSource& source, DeviceContext& dc,
                     CapturedOutline& outline);

// Shared by both captures: the path bracket around the text, then the
// flattened path read into the outline, its arrays sized once: by GetPath's
// count then fill, or, on the FreeType backend, by a bound on the points the
// flattening writes straight into them.
void capturePath(DeviceContext& dc, const LOGFONT& logFont, std::string_view text,
                 std::int32_t alignment, std::int32_t x0, std::int32_t y0, CapturedOutline& outline,
                 Advances advances = Advances::Device);

} // namespace lw
