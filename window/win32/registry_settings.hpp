#pragma once
// The save dialog's choice, remembered for the current user in the registry
// (HKEY_CURRENT_USER\Software\Letterwire\Save), as Windows programs keep
// their settings: under the same names and words as on every platform.

#include "form/form_view.hpp"

#include <optional>

namespace lw {

std::optional<SaveSettings> loadRegistrySaveSettings();
// A store that cannot be written keeps nothing; the save itself goes on.
void storeRegistrySaveSettings(const SaveSettings& settings);

} // namespace lw
