// Code page 932 text: the byte walk, "?" for what it cannot hold, and a
// cache per character, over the platform's one-character conversion.

#include "base/codepage.hpp"
#include "base/codepage_unit.hpp"
#include "base/utf8.hpp"

#include <unordered_map>

namespace lw {
namespace {

// Conversions per character, remembered: a capture converts the same few
// characters on every keystroke. 0 marks a character code page 932 lacks.
// The program converts on one thread only, so the caches take no lock.
std::unordered_map<char32_t, std::uint16_t>& encodeCache()
{
    static std::unordered_map<char32_t, std::uint16_t> cache;
    return cache;
}

std::unordered_map<std::uint16_t, char32_t>& decodeCache()
{
    static std::unordered_map<std::uint16_t, char32_t> cache;
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
        char32_t c = nextCodepoint(utf8, i);
        auto& cache = encodeCache();
        auto it = cache.find(c);
        if (it == cache.end())
            it = cache.emplace(c, c == 0xFFFD ? 0 : encodeCp932Unit(c)).first;
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
        if (it == cache.end())
            it = cache.emplace(key, decodeCp932Unit(bytes.substr(i, length))).first;
        out.push_back(it->second);
        i += length;
    }
    return out;
}

std::string cp932ToUtf8(std::string_view bytes)
{
    return codepointsToUtf8(cp932ToCodepoints(bytes));
}

} // namespace lw
