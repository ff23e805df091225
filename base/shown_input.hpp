#pragma once
// A user's input as a message repeats it: whole when short, else its start
// and end around "…" with its length, so a message stays a line however
// much was given (a 100 MB name is not said back in full). Cut only between
// UTF-8 characters.
//
//   shownInput("out.dxf")        -> "out.dxf"
//   shownInput(200 'a's + ".dxf") -> 40 a, "…", 36 a, ".dxf (204 characters)"

#include <cstddef>
#include <string>
#include <string_view>

namespace lw {

inline constexpr std::size_t kShownInputCharacters = 80;

std::string shownInput(std::string_view input);

// shownInput in double quotes.
std::string quotedInput(std::string_view input);

// Characters a message names, each quoted with its code:
// "出" (U+51FA), "口" (U+53E3).
std::string namedCharacters(std::u32string_view characters);

} // namespace lw
