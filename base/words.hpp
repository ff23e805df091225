#pragma once
// Words of a text: split at every single space (byte 0x20). n spaces in a row
// give n - 1 empty words; a leading or trailing space gives an empty first or
// last word; an empty text has no words. Works on UTF-8 and on Shift-JIS
// bytes alike, since neither uses 0x20 inside a multi-byte character.
//
//   words("hp1  10")  -> {"hp1", "", "10"}
//   words("")         -> {}

#include <cstddef>
#include <string_view>
#include <vector>

namespace lw {

std::vector<std::string_view> words(std::string_view text);

// The first `most` of words(text), without looking past them: a line of a
// million blanks costs no more than one of a few words.
//   firstWords("hp1  10 20", 2)  -> {"hp1", ""}
std::vector<std::string_view> firstWords(std::string_view text, std::size_t most);

} // namespace lw
