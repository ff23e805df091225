#pragma once
// The preview's canvas in the native window: keeps what is drawn on it since
// the last clear (the form's PreviewDrawing) and paints that onto a GDI
// surface on render().

#include "form/preview_drawing.hpp"

#include <windows.h>

namespace lw {

class PreviewCanvas final : public PreviewDrawing {
public:
    // Paints the drawing onto `dc`'s `width` x `height` pixels: at its own
    // pixels, or scaled and centred so all of it shows. The device
    // context's pen, brush and modes are as they were afterwards: they
    // serve the next capture.
    void render(HDC dc, int width, int height, bool fit);
};

} // namespace lw
