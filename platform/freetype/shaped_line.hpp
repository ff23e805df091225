#pragma once
// A line shaped by choice: its characters cut into runs of the face that
// draws them (the chosen face, or the fallback for the characters it
// lacks), each run shaped by HarfBuzz with the kerning and features asked
// for, the glyphs kept in line order.
//
//   for (const lw::ShapedGlyph& g : lw::shapeLine(face, U"AVATAR", false, {.kerning = true})) ...

#include "platform/freetype/font_library.hpp"
#include "platform/text_shaping.hpp"

#include <cstdint>
#include <string_view>
#include <vector>

namespace lw {

struct ShapedGlyph {
    GlyphRef ref;
    // In the font units of ref.face: the pen's step after the glyph (the
    // kerning within it) and the glyph's shift from the pen, y up.
    double advance = 0;
    double offsetX = 0, offsetY = 0;
    // The characters [first, end) of the line its cluster draws; the glyphs
    // of one cluster follow each other and share both.
    std::uint32_t first = 0, end = 0;
};

// Horizontal only. Throws lw::Failure (BrokenInstallation) when HarfBuzz
// cannot be loaded.
std::vector<ShapedGlyph> shapeLine(const FontFace& primary, std::u32string_view text, bool bold,
                                   const TextShaping& shaping);

} // namespace lw
