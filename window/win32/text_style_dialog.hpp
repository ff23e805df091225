#pragma once
// The text style dialog of the native window: spacing, width and the
// outline's bold, each laid out from the dialog's design, with the note
// while the font's bold does not reach the outline.

#include "form/captions.hpp"
#include "outline/text_style.hpp"

#include <windows.h>

#include <optional>

namespace lw {

// Modal, opened on `preset`, captions in `language`: the style chosen, or
// nothing when the user cancels. As a spin box does, a typed number is
// held within its field's range and rounded to its decimals, and text that
// is no number leaves the field's previous value.
std::optional<TextStyle> askTextStyle(HWND owner, const TextStyle& preset, bool fontBold, Language language);

} // namespace lw
