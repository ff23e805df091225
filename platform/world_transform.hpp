#pragma once
// The world transform: an affine map from the coordinates text is placed in
// onto the device, as the platform's advanced graphics mode has it. Text
// drawn into an open path while a transform is set is added already mapped
// (the FreeType backend maps text only, the one thing drawn under it);
// reading the path back maps nothing, so set the identity again before
// GetPath (the platform hands back points through the transform in force).
//
//   lw::SetGraphicsMode(dc, lw::GM_ADVANCED);
//   lw::SetWorldTransform(dc, lw::XFORM{1, 0, -0.27f, 1, 0.27f * 28, 0}); // slanted about y = 28
//   lw::TextOutA(dc, 0, 0, "AB", 2);
//   lw::ModifyWorldTransform(dc, nullptr, lw::MWT_IDENTITY);
//   lw::SetGraphicsMode(dc, lw::GM_COMPATIBLE);
//
// Text laid under a transform of its own (TextOutTransformed) keeps the
// platform's own outline of each glyph, only moved and turned, so text set
// along a curve is the platform's text, not a bent copy of it.
//
//   lw::WorldTransform turn{std::cos(a), -std::sin(a), std::sin(a), std::cos(a), 100, 50};
//   lw::TextOutTransformed(dc, turn, 0, 0, "A", 1);

#include "platform/device_context.hpp"

#include <cstdint>

namespace lw {

// x' = x eM11 + y eM21 + eDx, y' = x eM12 + y eM22 + eDy, in single
// precision as the platform keeps it.
struct XFORM {
    float eM11 = 1, eM12 = 0, eM21 = 0, eM22 = 1, eDx = 0, eDy = 0;
};

inline constexpr int GM_COMPATIBLE = 1;
inline constexpr int GM_ADVANCED = 2;
inline constexpr std::uint32_t MWT_IDENTITY = 1;

// Returns the previous mode, 0 on failure; back to GM_COMPATIBLE only with
// the identity transform set. In the advanced mode the font's orientation
// turns the glyphs, not its escapement: set both.
int SetGraphicsMode(DeviceContext& dc, int mode);
// False outside GM_ADVANCED or for a map that cannot be undone.
bool SetWorldTransform(DeviceContext& dc, const XFORM& transform);
// Only MWT_IDENTITY: back to the identity.
bool ModifyWorldTransform(DeviceContext& dc, const XFORM* transform, std::uint32_t mode);

// An affine map of device pixels in the same order as XFORM:
// x' = x * m11 + y * m21 + dx, y' = x * m12 + y * m22 + dy.
struct WorldTransform {
    double m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
};

// TextOutA inside an open path, every point it adds (glyphs, underline and
// strike-out bars) mapped by `transform` after the world transform in
// force, if any: a slant set with SetWorldTransform about the line's own
// baseline stays the glyph's own slant wherever `transform` puts it. The
// device context's own mapping is as before afterwards.
bool TextOutTransformed(DeviceContext& dc, const WorldTransform& transform, int x, int y, const char* bytes,
                        int count);

} // namespace lw
