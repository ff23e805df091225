#pragma once
// Text in a face that lacks some of its characters. As font linking does on
// Windows, and as fontconfig's fallback does on Linux, each character the
// face lacks is drawn by the face the designed Shift-JIS request gives and
// every other one by the face itself, all on the face's own baseline, one
// run of characters at a time.
//
//   drawLinkedText(dc, font, 0, 0, u"AB テ", nullptr); // "AB " in the face, "テ" in the fallback

#include "platform/gdi/state.hpp"

#include <string_view>
#include <vector>

namespace lw {

// Characters [first, first + count) of a text, drawn by `face`.
struct TextRun {
    std::size_t first = 0, count = 0;
    ::HFONT face = nullptr;
};

// The runs of `text` for `font`: one run in the font itself when it holds
// every character or has no fallback. `dc` is where the glyphs are looked up;
// its selected font is left as it was.
std::vector<TextRun> linkedRuns(HDC dc, const LogicalFont& font, std::u16string_view text);

// Draws `text` at (x, y) as TextOutW (advances null) or ExtTextOutW would,
// under the device context's alignment and the font's escapement, run by
// run; `font` must be the one selected in `dc`, and stays selected. With
// `exactWidth`, advances given and the font's widthExact, each run's glyphs
// take the exact width where GDI's lfWidth rounds it.
bool drawLinkedText(HDC dc, const LogicalFont& font, int x, int y, std::u16string_view text, const int* advances,
                    bool exactWidth = false);

} // namespace lw
