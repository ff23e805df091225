#pragma once
// Shaping by choice on Windows: the system's OpenType shaping (Uniscribe's
// ScriptItemizeOpenType, ScriptShapeOpenType, ScriptPlaceOpenType) picks
// the glyphs and their advances, and GDI draws them by glyph index, run by
// run of the face that holds the characters, as linked_text places runs.

#include "platform/gdi/state.hpp"
#include "platform/text_shaping.hpp"

#include <string_view>
#include <vector>

namespace lw {

// The glyphs of `text` in the font selected in `dc`: the indices, each one's
// advance (pixels at that font's size, kerning included), and for each
// glyph the characters [first, end) of the cluster it belongs to.
struct ShapedGlyphs {
    std::vector<WORD> glyphs;
    std::vector<int> advances;
    std::vector<std::size_t> first, end;
};
ShapedGlyphs shapeText(HDC dc, std::u16string_view text, const TextShaping& shaping);

// True for a font description of vertical writing ("@" before the face
// name), which keeps GDI's own vertical forms and is never shaped.
bool isVerticalFont(const LogicalFont& font);

// TextOutW (advances null) or ExtTextOutW with one advance per character,
// shaped: a cluster takes the advances of its characters together. With
// `exactWidth`, as drawLinkedText takes it.
bool drawShapedText(HDC dc, const LogicalFont& font, int x, int y, std::u16string_view text, const int* advances,
                    const TextShaping& shaping, bool exactWidth = false);

} // namespace lw
