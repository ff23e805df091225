#pragma once
// The save dialog of the native window: the platform's own, with one file
// type for each format and precision, so it carries both without a
// template of ours.

#include "form/captions.hpp"
#include "form/form_view.hpp"

#include <windows.h>

#include <optional>

namespace lw {

// Modal, opened on `preset`'s folder, name and file type (no folder: the one
// the program was started in), the file types named in `language`: the path
// as typed and the file type chosen, or nothing when the user cancels. A
// name without an extension gets the file type's.
std::optional<SaveChoice> askSaveFile(HWND owner, const SaveChoice& preset, Language language);

} // namespace lw
