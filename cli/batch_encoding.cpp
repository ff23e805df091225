#include "cli/batch_encoding.hpp"

#include "base/codepage.hpp"
#include "base/codepage_unit.hpp"
#include "base/utf8.hpp"
#include "cli/batch_rows.hpp"
#include "cli/options.hpp"

#include <algorithm>

namespace lw::cli {
namespace {

bool isLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

bool isAscii(std::string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Some line with other than ASCII in it is well-formed UTF-8.
bool someLineIsUtf8(std::string_view bytes)
{
    for (std::size_t start = 0; start <= bytes.size();) {
        const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
        const std::string_view line = bytes.substr(start, end - start);
        if (!isAscii(line) && firstBadUtf8Character(line) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

} // namespace

std::size_t firstLineNotCp932(std::string_view bytes)
{
    std::size_t line = 1;
    for (std::size_t i = 0; i < bytes.size();) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (b == '\n')
            ++line;
        if (b < 0x80) {
            ++i;
            continue;
        }
        // Half-width katakana are the only single bytes above ASCII that
        // text holds; 0x80, 0xA0 and 0xFD to 0xFF are no characters.
        if (b >= 0xA1 && b <= 0xDF) {
            ++i;
            continue;
        }
        if (!isLeadByte(b) || i + 1 >= bytes.size())
            return line;
        const char32_t c = decodeCp932Unit(bytes.substr(i, 2));
        if (c == 0xFFFD || c == 0)
            return line;
        i += 2;
    }
    return 0;
}

ListText listAsUtf8(std::string_view bytes, ListEncoding encoding)
{
    switch (encoding) {
    case ListEncoding::Utf8:
        return {std::string(bytes), {}};
    case ListEncoding::Cp932:
        if (const std::size_t line = firstLineNotCp932(bytes))
            throw UsageError("line " + std::to_string(line) + " is not code page 932 (Shift-JIS) text");
        return {cp932ToUtf8(bytes), {}};
    case ListEncoding::Detect:
        break;
    }
    if (firstBadUtf8Character(bytes) == 0 || firstLineNotCp932(bytes) != 0 || someLineIsUtf8(bytes))
        return {std::string(bytes), {}};
    return {cp932ToUtf8(bytes), "not UTF-8 but code page 932 (Shift-JIS), read as such; --encoding utf-8 or "
                                "cp932 says which"};
}

} // namespace lw::cli
