#include "base/codepage.hpp"

#include <cerrno>
#include <cstdint>
#include <unordered_map>
#include <iconv.h>

namespace lw {
namespace {

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

// Decodes one UTF-8 sequence at s[i]; advances i; U+FFFD for bad input.
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

// One converter per direction and thread, opened once: iconv_open is far
// dearer than a conversion of a few characters.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (cd_ != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts one whole unit; false when the target cannot hold it.
    bool convert(std::string_view in, std::string& out)
    {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            return false;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char buffer[16];
        char* inPtr = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
            return false;
        out.append(buffer, std::size_t(outPtr - buffer));
        return true;
    }

private:
    iconv_t cd_;
};

Converter& toCp932Converter()
{
    thread_local Converter converter("CP932", "UTF-8");
    return converter;
}

Converter& fromCp932Converter()
{
    thread_local Converter converter("UTF-8", "CP932");
    return converter;
}

// Conversions per character, remembered: a capture converts the same few
// characters on every keystroke. 0 marks a character code page 932 lacks.
std::unordered_map<char32_t, std::uint16_t>& encodeCache()
{
    thread_local std::unordered_map<char32_t, std::uint16_t> cache;
    return cache;
}

std::unordered_map<std::uint16_t, char32_t>& decodeCache()
{
    thread_local std::unordered_map<std::uint16_t, char32_t> cache;
    return cache;
}

bool isLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

} // namespace

std::string toCp932(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        unsigned char b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out.push_back(char(b));
            ++i;
            continue;
        }
        std::size_t start = i;
        char32_t c = nextCodepoint(utf8, i);
        auto& cache = encodeCache();
        auto it = cache.find(c);
        if (it == cache.end()) {
            std::string bytes;
            std::uint16_t code = 0;
            if (c != 0xFFFD && toCp932Converter().convert(utf8.substr(start, i - start), bytes)
                && !bytes.empty() && bytes.size() <= 2)
                code = static_cast<std::uint16_t>(bytes.size() == 1
                                                      ? static_cast<unsigned char>(bytes[0])
                                                      : (static_cast<unsigned char>(bytes[0]) << 8)
                                                            | static_cast<unsigned char>(bytes[1]));
            it = cache.emplace(c, code).first;
        }
        std::uint16_t code = it->second;
        if (code == 0)
            out.push_back('?');
        else if (code < 0x100)
            out.push_back(char(code));
        else {
            out.push_back(char(code >> 8));
            out.push_back(char(code & 0xFF));
        }
    }
    return out;
}

std::u32string cp932ToCodepoints(std::string_view bytes)
{
    std::u32string out;
    out.reserve(bytes.size());
    std::string utf8;
    for (std::size_t i = 0; i < bytes.size();) {
        unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            out.push_back(b);
            ++i;
            continue;
        }
        std::size_t length = (isLeadByte(b) && i + 1 < bytes.size()) ? 2 : 1;
        std::uint16_t key = static_cast<std::uint16_t>(
            length == 1 ? b : (b << 8) | static_cast<unsigned char>(bytes[i + 1]));
        auto& cache = decodeCache();
        auto it = cache.find(key);
        if (it == cache.end()) {
            char32_t c = 0xFFFD;
            utf8.clear();
            if (fromCp932Converter().convert(bytes.substr(i, length), utf8)) {
                std::size_t j = 0;
                c = nextCodepoint(utf8, j);
            }
            it = cache.emplace(key, c).first;
        }
        out.push_back(it->second);
        i += length;
    }
    return out;
}

std::string cp932ToUtf8(std::string_view bytes)
{
    return codepointsToUtf8(cp932ToCodepoints(bytes));
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
