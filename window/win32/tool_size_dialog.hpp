#pragma once
// The tool check's question in the native window: the tool's width in
// millimetres, one typed number, refused with the reason while it is no
// number within the limit.

#include "form/captions.hpp"

#include <windows.h>

#include <optional>

namespace lw {

// Modal, opened on `presetMm`, captions in `language`: the width, or nothing
// when the user cancels.
std::optional<double> askToolSize(HWND owner, double presetMm, Language language);

} // namespace lw
