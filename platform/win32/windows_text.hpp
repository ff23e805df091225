#pragma once
// Text at the Windows API's edge: UTF-8 paths and arguments to UTF-16 and
// back, and the system's words for an error code. Windows only.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lw {

std::wstring widePath(std::string_view utf8);
std::string fromWide(std::wstring_view wide);
std::string systemMessage(std::uint32_t error);

// One argument quoted so that the started program's runtime splits it back
// to exactly this text.
std::wstring quoteArgument(std::wstring_view argument);

} // namespace lw
