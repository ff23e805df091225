#include "platform/family_names.hpp"

#include "base/codepage.hpp"

#include <algorithm>
#include <cstdint>

namespace lw {
namespace {

std::uint16_t bigEndian16(std::string_view bytes, std::size_t at)
{
    return std::uint16_t((std::uint8_t(bytes[at]) << 8) | std::uint8_t(bytes[at + 1]));
}

} // namespace

std::vector<std::string> familyNames(std::string_view table)
{
    constexpr std::size_t kHeader = 6, kRecord = 12;
    constexpr std::uint16_t kUnicode = 0, kWindows = 3, kFamily = 1, kTypographicFamily = 16;
    std::vector<std::string> names;
    if (table.size() < kHeader)
        return names;
    const std::size_t count = bigEndian16(table, 2), storage = bigEndian16(table, 4);
    for (std::size_t i = 0; i < count && kHeader + (i + 1) * kRecord <= table.size(); ++i) {
        const std::size_t record = kHeader + i * kRecord;
        const std::uint16_t platform = bigEndian16(table, record), id = bigEndian16(table, record + 6);
        const std::size_t length = bigEndian16(table, record + 8), offset = bigEndian16(table, record + 10);
        // Mac records are in the Mac's own encodings; their families repeat
        // the Unicode and Windows ones wherever a font has those.
        if ((platform != kUnicode && platform != kWindows) || (id != kFamily && id != kTypographicFamily))
            continue;
        if (storage + offset + length > table.size() || length % 2 != 0)
            continue;
        std::u16string wide(length / 2, u'\0');
        for (std::size_t k = 0; k < wide.size(); ++k)
            wide[k] = char16_t(bigEndian16(table, storage + offset + 2 * k));
        std::string name = utf16ToUtf8(wide);
        if (!name.empty() && std::ranges::find(names, name) == names.end())
            names.push_back(std::move(name));
    }
    return names;
}

std::string comparableFamily(std::string_view name)
{
    std::string out;
    for (char c : name)
        if (c != ' ')
            out += (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
    return out;
}

} // namespace lw
