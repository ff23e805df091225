#pragma once
// One tooltip window for the controls of a window: each control's text
// breaks into lines no wider than a width (a native tip is one line,
// however long, until given one), and the tooltip keeps its own copies of
// the texts and ends with its owner.

#include <windows.h>

#include <string>

namespace lw {

// A tooltip for controls of `owner`, whole within `width` pixels.
HWND makeTooltip(HWND owner, int width);

// The tip of `control` (a child of the tooltip's owner) becomes `text`; an
// empty text shows none. A static shows its tip only with SS_NOTIFY.
void setTip(HWND tooltip, HWND control, const std::wstring& text);

} // namespace lw
