#pragma once
// The exact width on GDI: lfWidth is whole logical units, and GDI widens a
// face's glyphs by lfWidth over its average width rounded at the em. A font
// description with lfWidthExact asks for the unrounded ratio; the advances
// take it at once, and a run's glyphs drawn by GDI at lfWidth are scaled
// along the baseline by what is left, keeping GDI's own outline.
//
//   double s = exactWidthCorrection(dc, font.widthExact); // with the run's face selected
//   drawScaledRun(dc, x, y, text, advances, s);

#include "platform/gdi/state.hpp"

#include <string_view>

namespace lw {

// The em height in pixels of the font selected in `dc`.
double selectedEm(HDC dc);

// The average character width of the font selected in `dc` at its em,
// unrounded (OS/2 xAvgCharWidth, else half the em); 0 when it cannot tell.
double exactAverageWidth(HDC dc);

// GDI's own widening of the font selected in `dc`: lfWidth over its
// average width rounded to whole pixels at its em; 1 without lfWidth.
double lfWidthRatio(HDC dc);

// The widening an exact width of `widthExact` pixels gives the font
// selected in `dc`: over its own unrounded average; 1 when it has none.
double exactWidthRatio(HDC dc, double widthExact);

// How much wider than GDI draws them at lfWidth the glyphs of the font
// selected in `dc` must be for an exact width of `widthExact` pixels: the
// exact ratio over GDI's. 1 for a vertical ("@") face, whose turned glyphs
// take their width across the line: they keep GDI's.
double exactWidthCorrection(HDC dc, double widthExact);

// ExtTextOutW of a run into the path open in `dc`, its glyphs `scale` times
// as wide along the baseline about (x, y) as the selected font draws them,
// each at the start `advances` give it: drawn into a path of its own with
// the starts narrowed by `scale`, then widened by it into `dc`'s path.
bool drawScaledRun(HDC dc, int x, int y, std::u16string_view text, const int* advances, double scale);

} // namespace lw
