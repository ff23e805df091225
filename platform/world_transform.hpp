#pragma once
// Text laid under its own world transform: what GDI's advanced graphics
// mode does with SetWorldTransform around a TextOutA. Each glyph keeps the
// platform's own outline, only moved and turned, so text set along a curve
// is the platform's text, not a bent copy of it.
//
//   lw::WorldTransform turn{std::cos(a), -std::sin(a), std::sin(a), std::cos(a), 100, 50};
//   lw::TextOutTransformed(dc, turn, 0, 0, "A", 1);

#include "platform/device_context.hpp"

namespace lw {

// An affine map of device pixels in GDI's XFORM order:
// x' = x * m11 + y * m21 + dx, y' = x * m12 + y * m22 + dy.
struct WorldTransform {
    double m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
};

// TextOutA inside an open path, every point it adds (glyphs, underline and
// strike-out bars) mapped by `transform`; the device context's own mapping
// is as before afterwards.
bool TextOutTransformed(DeviceContext& dc, const WorldTransform& transform, int x, int y, const char* bytes,
                        int count);

} // namespace lw
