#pragma once
// Underline and strikeout under a world transform. GDI lays a line's bars
// out where the line lands on the device, upright, whatever the transform
// does to its glyphs (Wine does: a slant leaves the bars square under
// slanted glyphs). In a path the bars here take the transform with the
// glyphs, as the glyphs' own shapes would: they are laid out as GDI lays
// them with no transform, then added to the path as the glyphs are.

#include "platform/gdi/state.hpp"

#include <functional>

namespace lw {

// Draws a line through draw(dc, font), which draws it with `font` selected
// in `dc`. With a path open in `dc` under a transform that is not the
// identity, and a font that underlines or strikes out, the bars are
// transformed as the glyphs are; else this is draw(dc, font) alone.
bool drawWithTransformedBars(HDC dc, const LogicalFont& font, bool pathOpen,
                             const std::function<bool(HDC, const LogicalFont&)>& draw);

} // namespace lw
