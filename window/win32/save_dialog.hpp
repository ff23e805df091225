#pragma once
// The save dialog of the native window: the platform's own, with one file
// type for each format and precision, and beneath it a template of ours for
// the DXF and SVG choices (merge, curves, offset, anchor, mirror).

#include "form/captions.hpp"
#include "form/form_view.hpp"

#include <windows.h>

#include <optional>

namespace lw {

// Modal, opened on `preset`'s folder, name and file type (no folder: the one
// the program was started in), the file types named in `language`: the path
// as typed, the file type and the CAD choices, or nothing when the user
// cancels. An offset that is no number keeps the dialog open. A
// name without an extension gets the file type's.
std::optional<SaveChoice> askSaveFile(HWND owner, const SaveChoice& preset, Language language);

} // namespace lw
