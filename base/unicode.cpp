// UTF-8, UTF-16 and code points: the forms the program holds text in.

#include "base/codepage.hpp"
#include "base/utf8.hpp"

namespace lw {

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(char(c));
    } else if (c < 0x800) {
        out.push_back(char(0xC0 | (c >> 6)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(char(0xE0 | (c >> 12)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (c >> 18)));
        out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    }
}

char32_t nextCodepoint(std::string_view s, std::size_t& i)
{
    unsigned char b = static_cast<unsigned char>(s[i]);
    int extra;
    char32_t c;
    if (b < 0x80) {
        ++i;
        return b;
    } else if ((b & 0xE0) == 0xC0) {
        extra = 1;
        c = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
        extra = 2;
        c = b & 0x0F;
    } else if ((b & 0xF8) == 0xF0) {
        extra = 3;
        c = b & 0x07;
    } else {
        ++i;
        return 0xFFFD;
    }
    std::size_t j = i + 1;
    for (int k = 0; k < extra; ++k, ++j) {
        if (j >= s.size() || (static_cast<unsigned char>(s[j]) & 0xC0) != 0x80) {
            i = j;
            return 0xFFFD;
        }
        c = (c << 6) | (static_cast<unsigned char>(s[j]) & 0x3F);
    }
    i = j;
    static constexpr char32_t minimum[] = {0, 0x80, 0x800, 0x10000};
    if (c < minimum[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0xFFFD;
    return c;
}

std::size_t utf8SequenceLength(std::string_view s, std::size_t i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = byte(i);
    std::size_t n = 0;
    char32_t value = 0;
    if (c < 0x80)
        return 1;
    if ((c & 0xE0) == 0xC0)
        n = 2, value = c & 0x1F;
    else if ((c & 0xF0) == 0xE0)
        n = 3, value = c & 0x0F;
    else if ((c & 0xF8) == 0xF0)
        n = 4, value = c & 0x07;
    else
        return 0;
    if (i + n > s.size())
        return 0;
    for (std::size_t k = 1; k < n; ++k) {
        if (!isUtf8Continuation(byte(i + k)))
            return 0;
        value = (value << 6) | (byte(i + k) & 0x3F);
    }
    constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kLeast[n] || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF)
        return 0;
    return n;
}

std::size_t firstBadUtf8Character(std::string_view text)
{
    std::size_t character = 0;
    for (std::size_t i = 0; i < text.size();) {
        ++character;
        const std::size_t n = utf8SequenceLength(text, i);
        if (n == 0)
            return character;
        i += n;
    }
    return 0;
}

std::u32string utf8ToCodepoints(std::string_view utf8)
{
    std::u32string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();)
        out.push_back(nextCodepoint(utf8, i));
    return out;
}

std::string codepointsToUtf8(std::u32string_view codepoints)
{
    std::string out;
    out.reserve(codepoints.size() * 3);
    for (char32_t c : codepoints)
        appendUtf8(out, (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) ? 0xFFFD : c);
    return out;
}

std::u16string utf8ToUtf16(std::string_view utf8)
{
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = nextCodepoint(utf8, i);
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(char16_t(0xD800 + (c >> 10)));
            out.push_back(char16_t(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(char16_t(c));
        }
    }
    return out;
}

std::string utf16ToUtf8(std::u16string_view utf16)
{
    std::string out;
    out.reserve(utf16.size() * 3);
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t c = utf16[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00
            && utf16[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        appendUtf8(out, c);
    }
    return out;
}

} // namespace lw
