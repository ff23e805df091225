#pragma once
// The save dialog's choice, remembered for the current user in the registry
// (HKEY_CURRENT_USER\Software\Letterwire\Save), as Windows programs keep
// their settings: under the same names and words as on every platform.

#include "form/form_view.hpp"

#include <optional>
#include <string>
#include <string_view>

namespace lw {

std::optional<SaveSettings> loadRegistrySaveSettings();
// A store that cannot be written keeps nothing; the save itself goes on.
void storeRegistrySaveSettings(const SaveSettings& settings);

// The remembered font and text settings, one named text value each under
// HKEY_CURRENT_USER\Software\Letterwire\Text; nothing for a value that is
// missing or not text.
std::optional<std::string> readRegistryTextSetting(std::string_view name);
void writeRegistryTextSetting(std::string_view name, std::string_view value);

} // namespace lw
