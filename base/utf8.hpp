#pragma once
// UTF-8 one character at a time, for the converters of this folder.

#include <string>
#include <string_view>

namespace lw {

void appendUtf8(std::string& out, char32_t c);

// Decodes one UTF-8 sequence at s[i] and advances i; U+FFFD for bad input.
char32_t nextCodepoint(std::string_view s, std::size_t& i);

} // namespace lw
