#pragma once
// Words of a text: split at every single space (byte 0x20). n spaces in a row
// give n - 1 empty words; a leading or trailing space gives an empty first or
// last word; an empty text has no words. Works on UTF-8 and on Shift-JIS
// bytes alike, since neither uses 0x20 inside a multi-byte character.
//
//   words("hp1  10")  -> {"hp1", "", "10"}
//   words("")         -> {}

#include <string_view>
#include <vector>

namespace lw {

std::vector<std::string_view> words(std::string_view text);

} // namespace lw
