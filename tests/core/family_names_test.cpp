// A font's family names in every language, as GDI's side reads them from
// the 'name' table, against the names fontTools reads from the same files.

#include "platform/family_names.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace lw {
namespace {

std::uint32_t bigEndian32(const std::string& bytes, std::size_t at)
{
    std::uint32_t v = 0;
    for (std::size_t k = 0; k < 4; ++k)
        v = (v << 8) | std::uint8_t(bytes.at(at + k));
    return v;
}

// The 'name' table of a TrueType file, found through its table directory.
std::string nameTable(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string font{std::istreambuf_iterator<char>(in), {}};
    if (font.size() < 12)
        return {};
    const std::size_t tables = (std::uint8_t(font[4]) << 8) | std::uint8_t(font[5]);
    for (std::size_t i = 0; i < tables; ++i) {
        const std::size_t record = 12 + 16 * i;
        if (font.compare(record, 4, "name") == 0)
            return font.substr(bigEndian32(font, record + 8), bigEndian32(font, record + 12));
    }
    return {};
}

void put16(std::string& out, std::uint16_t v)
{
    out += char(v >> 8);
    out += char(v & 0xFF);
}

struct Record {
    std::uint16_t platform, id, length, offset;
};

// A table of `records` over the UTF-16BE text `storage`.
std::string table(const std::vector<Record>& records, const std::u16string& storage)
{
    std::string out;
    put16(out, 0);
    put16(out, std::uint16_t(records.size()));
    put16(out, std::uint16_t(6 + 12 * records.size()));
    for (const Record& r : records) {
        put16(out, r.platform);
        put16(out, r.platform == 3 ? 1 : 0);
        put16(out, r.platform == 3 ? 0x409 : 0);
        put16(out, r.id);
        put16(out, r.length);
        put16(out, r.offset);
    }
    for (char16_t c : storage)
        put16(out, c);
    return out;
}

TEST(FamilyNames, EveryLanguagesFamilyNameOnce)
{
    struct FontCase {
        const char* file;
        std::vector<std::string> names; // fontTools: name 1, Windows records
    };
    const FontCase fonts[] = {
        {"/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf", {"IPAGothic", "IPAゴシック"}},
        {"/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf", {"IPAPGothic", "IPA Pゴシック"}},
        {"/usr/share/fonts/opentype/ipafont-mincho/ipam.ttf", {"IPAMincho", "IPA明朝"}},
        {"/usr/share/fonts/opentype/ipafont-mincho/ipamp.ttf", {"IPAPMincho", "IPA P明朝"}},
    };
    for (const FontCase& f : fonts)
        EXPECT_EQ(familyNames(nameTable(f.file)), f.names) << f.file;

    // "Ab" at 0, "C" at 4; the Mac record's bytes are not UTF-16.
    const std::u16string text = u"AbC";
    const struct {
        const char* name;
        std::string bytes;
        std::vector<std::string> names;
    } made[] = {
        {"empty", "", {}},
        {"header only", table({}, u""), {}},
        {"family and typographic family, each once",
         table({{3, 1, 4, 0}, {0, 16, 2, 4}, {3, 1, 4, 0}, {3, 4, 2, 4}}, text), {"Ab", "C"}},
        {"Mac record skipped", table({{1, 1, 2, 0}, {3, 1, 2, 4}}, text), {"C"}},
        {"text outside the table skipped", table({{3, 1, 8, 2}, {3, 1, 2, 4}}, text), {"C"}},
        {"odd length skipped", table({{3, 1, 3, 0}, {3, 1, 2, 4}}, text), {"C"}},
        {"records cut short", table({{3, 1, 4, 0}, {3, 1, 2, 4}}, text).substr(0, 6 + 12 + 5), {}},
    };
    for (const auto& c : made)
        EXPECT_EQ(familyNames(c.bytes), c.names) << c.name;
}

} // namespace
} // namespace lw
