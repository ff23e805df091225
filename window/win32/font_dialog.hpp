#pragma once
// The font common dialog, and the window font as a GDI font description.

#include "form/captions.hpp"
#include "form/form_design.hpp"
#include "outline/window_font.hpp"

#include <windows.h>

namespace lw {

// The font at `dpi`: face, size in points, weight and styles.
LOGFONTW logFontOf(const WindowFont& font, int dpi);

// The dialog, modal, opened on the whole of `preset` (so OK without a change
// changes nothing): the choice, or `preset` when the user cancels. Its
// "Font file..." button ends it with a font file chosen instead (the first
// face of a collection), the preset's size and styles kept.
WindowFont chooseFontDialog(HWND owner, const WindowFont& preset, int dpi, Language language);

} // namespace lw
