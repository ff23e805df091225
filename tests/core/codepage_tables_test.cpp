// Code page 932 on Linux: the conversions, made from tables at build time,
// give exactly what glibc's converter gives, for every character and every
// unit the byte walk can hand over.

#include "base/codepage.hpp"
#include "base/codepage_unit.hpp"
#include "base/utf8.hpp"
#include "platform/posix/iconv_unit.hpp"

#include <gtest/gtest.h>

#include <iconv.h>

#include <string>

namespace lw {
namespace {

class SystemConverter {
public:
    SystemConverter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~SystemConverter()
    {
        if (open())
            iconv_close(cd_);
    }
    SystemConverter(const SystemConverter&) = delete;
    SystemConverter& operator=(const SystemConverter&) = delete;

    bool open() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    bool convert(const std::string& in, std::string& out) { return convertUnit(cd_, in, out); }

private:
    iconv_t cd_;
};

TEST(CodePage932Tables, EncodeEveryCharacterAsGlibcDoes)
{
    SystemConverter to("CP932", "UTF-8");
    ASSERT_TRUE(to.open());
    int held = 0;
    for (char32_t c = 0; c <= 0x10FFFF; c = c == 0x1FFFF ? 0x10FFF0 : c + 1) {
        std::string utf8, bytes;
        appendUtf8(utf8, c);
        std::uint16_t expected = 0;
        if (to.convert(utf8, bytes) && (bytes.size() == 1 || bytes.size() == 2))
            expected = std::uint16_t(bytes.size() == 1 ? static_cast<unsigned char>(bytes[0])
                                                      : static_cast<unsigned char>(bytes[0]) << 8
                                                            | static_cast<unsigned char>(bytes[1]));
        ASSERT_EQ(encodeCp932Unit(c), expected) << std::hex << std::uint32_t(c);
        held += expected != 0;
    }
    // Past the last character there is nothing to hold, and no wrap-around.
    EXPECT_EQ(encodeCp932Unit(0x110000 + U'A'), 0u);
    EXPECT_EQ(encodeCp932Unit(0xFFFFFFFF), 0u);
    EXPECT_GT(held, 9000);
}

TEST(CodePage932Tables, DecodeEveryUnitAsGlibcDoes)
{
    SystemConverter from("UTF-8", "CP932");
    ASSERT_TRUE(from.open());
    auto expected = [&](const std::string& unit) -> char32_t {
        std::string utf8;
        if (!from.convert(unit, utf8) || utf8.empty())
            return 0xFFFD;
        std::size_t i = 0;
        return nextCodepoint(utf8, i);
    };
    for (unsigned first = 0; first < 256; ++first) {
        const std::string one(1, char(first));
        ASSERT_EQ(decodeCp932Unit(one), expected(one)) << std::hex << first;
        // Any second byte, after a lead byte or not: the tables hold the
        // pairs the byte walk makes, the converter answers for the others.
        for (unsigned second = 0; second < 256; ++second) {
            const std::string two{char(first), char(second)};
            ASSERT_EQ(decodeCp932Unit(two), expected(two)) << std::hex << first << ' ' << second;
        }
    }
}

TEST(CodePage932Tables, KnownCodes)
{
    struct Case {
        const char* utf8;
        const char* cp932;
    };
    const Case cases[] = {
        {"A~\\", "A~\\"},                // ASCII as it is, backslash and tilde included
        {"ｱﾟ", "\xB1\xDF"},              // half-width katakana: one byte each
        {"編集", "\x95\xD2\x8F\x57"},
        {"①", "\x87\x40"},               // NEC row 13
        {"≒", "\x81\xE0"},               // in JIS X 0208 and NEC row 13: the JIS code
        {"∵", "\x81\xE6"},               // also an IBM extension: the JIS code
        {"ⅰ", "\xFA\x40"},               // small roman one: the IBM code, not NEC's
        {"髙", "\xFB\xFC"},              // IBM extension
        {"\xEE\x80\x80", "\xF0\x40"},    // the user-defined area's first
        {"€", "?"},
        {"\xED\xA0\x80", "?"},           // a surrogate written in UTF-8: one character it cannot hold
        {"\xF0\x9F\x98\x80", "?"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(toCp932(c.utf8), c.cp932) << c.utf8;

    struct Back {
        std::string cp932;
        std::u32string codepoints;
    };
    const Back backs[] = {
        {"\x87\x90", U"\u2252"},           // NEC's ≒ decodes to the same character
        {"\xED\x40", U"\u7E8A"},           // NEC-selected IBM extension
        {std::string("\x81\x00", 2), U"\uFFFD"}, // a lead byte and a byte that is no trail
        {"\x81", U"\uFFFD"},               // a lead byte cut off at the end
        {"\xA0\xFD", U"\uFFFD\uFFFD"},     // bytes the code page leaves out
        {"a\xDF" "b", U"a\uFF9Fb"},
    };
    for (const Back& b : backs)
        EXPECT_EQ(cp932ToCodepoints(b.cp932), b.codepoints) << b.cp932;
}

} // namespace
} // namespace lw
