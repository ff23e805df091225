#pragma once
// UTF-8 one character at a time: decoding, encoding, checking and counting,
// for every reader of text that arrives as UTF-8.
//
//   utf8Characters("字a")        // 2
//   firstBadUtf8Character("a\xFF") // 2: the second character is not UTF-8

#include <cstddef>
#include <string>
#include <string_view>

namespace lw {

void appendUtf8(std::string& out, char32_t c);

// Decodes one UTF-8 sequence at s[i] and advances i; U+FFFD for bad input.
char32_t nextCodepoint(std::string_view s, std::size_t& i);

// Whether the byte continues a character rather than starting one.
constexpr bool isUtf8Continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The characters of `text`, one per byte that does not continue a
// character: a count that never fails, whatever the bytes.
constexpr std::size_t utf8Characters(std::string_view text)
{
    std::size_t characters = 0;
    for (const char c : text)
        characters += !isUtf8Continuation(static_cast<unsigned char>(c));
    return characters;
}

// The length of the well-formed sequence at s[i] (1 to 4), or 0 where it is
// not one: overlong forms, surrogates and values past U+10FFFF are not text.
std::size_t utf8SequenceLength(std::string_view s, std::size_t i);

// The character (1-based) at which `text` stops being well-formed UTF-8, or
// 0 when all of it is.
std::size_t firstBadUtf8Character(std::string_view text);

} // namespace lw
