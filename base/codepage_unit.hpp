#pragma once
// The one thing each platform supplies to the code page 932 conversions:
// one character each way. The rest (caches, "?" for what cannot be held,
// the byte walk) is shared, in codepage.cpp.

#include <cstdint>
#include <string_view>

namespace lw {

// The code of `c` in code page 932 (one byte below 0x100, else lead << 8 |
// trail); 0 when code page 932 cannot hold it.
std::uint16_t encodeCp932Unit(char32_t c);

// The character of one unit (one byte, or a lead and a trail byte); U+FFFD
// when it is not a valid code.
char32_t decodeCp932Unit(std::string_view unit);

} // namespace lw
