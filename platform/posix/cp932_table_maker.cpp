// Writes glibc's code page 932 converter out as tables, at build time: the
// program then converts with no converter module to load at every start,
// and with the very mappings the converter has.
//   cp932_table_maker OUTPUT.cpp

#include "base/utf8.hpp"
#include "platform/posix/iconv_unit.hpp"

#include <cstdint>
#include <cstdio>
#include <iconv.h>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::uint16_t encode(iconv_t cd, char32_t c)
{
    std::string utf8, bytes;
    lw::appendUtf8(utf8, c);
    if (!lw::convertUnit(cd, utf8, bytes) || bytes.empty() || bytes.size() > 2)
        return 0;
    return static_cast<std::uint16_t>(bytes.size() == 1 ? static_cast<unsigned char>(bytes[0])
                                                        : (static_cast<unsigned char>(bytes[0]) << 8)
                                                              | static_cast<unsigned char>(bytes[1]));
}

char32_t decode(iconv_t cd, std::string_view unit)
{
    std::string utf8;
    if (!lw::convertUnit(cd, unit, utf8) || utf8.empty())
        return 0xFFFD;
    std::size_t i = 0;
    return lw::nextCodepoint(utf8, i);
}

bool isLeadByte(unsigned b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// 256 values, as one row of a two-dimensional array or as a whole array.
void writeRow(std::FILE* out, const std::uint16_t* row, bool braced = true)
{
    std::fputs(braced ? "    {" : "    ", out);
    for (std::size_t i = 0; i < 256; ++i)
        std::fprintf(out, "%s0x%04X", i == 0 ? "" : (i % 16 == 0 ? ",\n     " : ","), unsigned(row[i]));
    std::fputs(braced ? "},\n" : "\n", out);
}

int fail(const char* what)
{
    std::fprintf(stderr, "cp932_table_maker: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return fail("usage: cp932_table_maker OUTPUT.cpp");
    const iconv_t to = iconv_open("CP932", "UTF-8");
    const iconv_t from = iconv_open("UTF-8", "CP932");
    if (to == reinterpret_cast<iconv_t>(-1) || from == reinterpret_cast<iconv_t>(-1))
        return fail("glibc has no CP932 converter (its gconv modules are missing)");

    std::uint16_t single[256];
    for (unsigned b = 0; b < 256; ++b) {
        const char32_t c = decode(from, std::string(1, char(b)));
        if (c > 0xFFFF)
            return fail("a single byte decodes outside the Basic Multilingual Plane");
        single[b] = std::uint16_t(c);
    }
    std::vector<std::uint16_t> doubles;
    for (unsigned lead = 0; lead < 256; ++lead) {
        if (!isLeadByte(lead))
            continue;
        for (unsigned trail = 0; trail < 256; ++trail) {
            const char32_t c = decode(from, std::string{char(lead), char(trail)});
            if (c > 0xFFFF)
                return fail("a double byte decodes outside the Basic Multilingual Plane");
            doubles.push_back(std::uint16_t(c));
        }
    }
    // Pages of 256 characters; page 0 of the units stays all zero for the
    // pages the code page has nothing in.
    std::vector<std::uint16_t> units(256, 0);
    std::uint8_t pageOf[256] = {};
    for (char32_t high = 0; high < 256; ++high) {
        std::uint16_t page[256];
        bool any = false;
        for (char32_t low = 0; low < 256; ++low) {
            page[low] = encode(to, high << 8 | low);
            any = any || page[low] != 0;
        }
        if (!any)
            continue;
        pageOf[high] = std::uint8_t(units.size() / 256);
        units.insert(units.end(), page, page + 256);
    }
    if (units.size() / 256 > 255)
        return fail("too many pages for one byte of page number");
    for (char32_t c = 0x10000; c <= 0x10FFFF; ++c)
        if (encode(to, c) != 0)
            return fail("a character outside the Basic Multilingual Plane encodes");

    std::FILE* out = std::fopen(argv[1], "w");
    if (!out)
        return fail("cannot write the output");
    std::fputs("// Made by cp932_table_maker from glibc's CP932 converter; do not edit.\n"
               "#include \"platform/posix/cp932_tables.hpp\"\n\nnamespace lw::cp932 {\n\n",
               out);
    std::fputs("const std::uint16_t kSingle[256] = {\n", out);
    writeRow(out, single, false);
    std::fputs("};\n\nconst std::uint16_t kDouble[kLeadBytes][256] = {\n", out);
    for (std::size_t i = 0; i < doubles.size(); i += 256)
        writeRow(out, doubles.data() + i);
    std::fputs("};\n\nconst std::uint8_t kEncodePage[256] = {\n    ", out);
    for (unsigned i = 0; i < 256; ++i)
        std::fprintf(out, "%s%u", i == 0 ? "" : (i % 16 == 0 ? ",\n    " : ","), unsigned(pageOf[i]));
    std::fprintf(out, "};\n\nconst std::uint16_t kEncodeUnits[%zu][256] = {\n", units.size() / 256);
    for (std::size_t i = 0; i < units.size(); i += 256)
        writeRow(out, units.data() + i);
    std::fputs("};\n\n} // namespace lw::cp932\n", out);
    const bool written = std::fflush(out) == 0 && !std::ferror(out);
    if (std::fclose(out) != 0 || !written)
        return fail("cannot write the output");
    iconv_close(to);
    iconv_close(from);
    return 0;
}
