#pragma once
// The character set a font description asks GDI for. Shift-JIS wherever the
// face holds it (the designed request, and what makes the font mapper pick
// a Japanese face for a name it does not know); for an installed face
// without it (DejaVu Sans, Arial), the face's own character set, since asking
// for Shift-JIS would make the mapper draw in another, Japanese face.

#include <windows.h>

namespace lw {

// The character set to create the face `face` (NUL-terminated) with, given
// the one asked for.
BYTE charsetFor(const wchar_t* face, BYTE asked);

// True when the font selected into `dc` has a glyph for every character of
// `text` (UTF-16).
bool selectedFontHolds(HDC dc, const wchar_t* text, int count);

} // namespace lw
