#pragma once
// The command line's help: each command's synopsis and description, and
// the options (usageText, isCommand and synopsis in options.hpp).

#include <string_view>
#include <vector>

namespace lw::cli {

// The commands' names, for "did you mean".
std::vector<std::string_view> commandNames();

} // namespace lw::cli
