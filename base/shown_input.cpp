#include "base/shown_input.hpp"

#include "base/codepage.hpp"
#include "base/utf8.hpp"

#include <cstdio>

namespace lw {
std::string shownInput(std::string_view input)
{
    // Characters, not bytes: a name in kana is as readable as one in ASCII.
    // Only text longer than the bytes of that many characters is counted.
    if (input.size() <= kShownInputCharacters)
        return std::string(input);
    const std::size_t characters = utf8Characters(input);
    if (characters <= kShownInputCharacters)
        return std::string(input);
    // The end matters as much as the start: a file's name and extension.
    constexpr std::size_t half = kShownInputCharacters / 2;
    std::size_t head = 0, tail = input.size();
    for (std::size_t n = 0; head < input.size(); ++head)
        if (!isUtf8Continuation(static_cast<unsigned char>(input[head])) && n++ == half)
            break;
    for (std::size_t n = 0; n < half && tail > 0;)
        n += !isUtf8Continuation(static_cast<unsigned char>(input[--tail]));
    return std::string(input.substr(0, head)) + "\xE2\x80\xA6" + std::string(input.substr(tail)) + " (" +
           std::to_string(characters) + " characters)";
}

std::string quotedInput(std::string_view input) { return "\"" + shownInput(input) + "\""; }

std::string namedCharacters(std::u32string_view characters)
{
    std::string out;
    for (const char32_t c : characters) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", unsigned(c));
        out += (out.empty() ? "\"" : ", \"") + codepointsToUtf8(std::u32string_view(&c, 1)) + "\" (" + code + ")";
    }
    return out;
}

} // namespace lw
