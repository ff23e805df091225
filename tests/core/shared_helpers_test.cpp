// Shared helpers: words, leading-number values, rounding, checked arithmetic,
// code page 932.
#include "base/codepage.hpp"
#include "base/failure.hpp"
#include "base/numbers.hpp"
#include "base/words.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

using namespace lw;

namespace {

std::vector<std::string> wordList(std::string_view text)
{
    std::vector<std::string> out;
    for (auto w : words(text))
        out.emplace_back(w);
    return out;
}

} // namespace

TEST(Words, SplitAtEverySingleSpaceKeepingEmptyWords)
{
    struct Case {
        const char* text;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"", {}},
        {" ", {"", ""}},
        {"JW a.txt b.txt", {"JW", "a.txt", "b.txt"}},
        {"JW  a.txt b.txt", {"JW", "", "a.txt", "b.txt"}},
        {"hs 1 2 3 ", {"hs", "1", "2", "3", ""}},
        {" hq", {"", "hq"}},
        {"a\tb", {"a\tb"}},
        {"hp1  10   20", {"hp1", "", "10", "", "", "20"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(wordList(c.text), c.expected) << '"' << c.text << '"';
}

TEST(LeadingNumberValue, ReadsTheNumberAtTheStartOfATextAsTheRuntimeDoes)
{
    struct Case {
        const char* text;
        double expected;
    };
    const Case cases[] = {
        {"", 0},        {"abc", 0},         {"-", 0},        {"30", 30},
        {"12.5", 12.5}, {"1 2", 12},        {" \t\n4 5", 45}, {"45abc", 45},
        {"3,5", 3},     {"-2.5", -2.5},     {"+7", 7},       {"1E3", 1000},
        {"1D2", 100},   {"2.5e-1", 0.25},   {"1e", 1},       {"1E+", 1},
        {".5", 0.5},    {"5.", 5},          {".", 0},        {"&H10", 16},
        {"&HFF", 255},  {"&HFFFF", -1},     {"&H8000", -32768}, {"&H10000", 65536},
        {"&HFFFFFFFF", -1}, {"&O17", 15},   {"&h1g", 1},     {"&X1", 0},
        {"1E20", 1e20}, {"3.5.6", 3.5},     {"- 1", -1},     {"1-2", 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(leadingNumberValue(c.text), c.expected) << '"' << c.text << '"';
}

TEST(LeadingNumberValue, HugeExponentsBecomeInfinitiesNotCrashes)
{
    EXPECT_TRUE(std::isinf(leadingNumberValue("1E400")));
    EXPECT_EQ(leadingNumberValue("1E-400"), 0.0);
}

TEST(Rounding, HalvesGoToTheEvenNeighbour)
{
    const std::pair<double, double> cases[] = {
        {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.5, 0}, {1.5, 2},
        {2.4999, 2}, {2.5001, 3}, {-0.4, -0.0}, {230.5, 230}, {231.5, 232}, {7, 7},
    };
    for (auto [value, expected] : cases)
        EXPECT_EQ(roundHalfEven(value), expected) << value;
}

TEST(Rounding, ToInt32FailsWithOverflowOutsideTheRange)
{
    EXPECT_EQ(roundToInt32(2147483647.4), 2147483647);
    EXPECT_EQ(roundToInt32(-2147483648.5), -2147483648LL);
    for (double bad : {2147483647.5, -2147483649.0, 1e20, std::nan("")}) {
        try {
            roundToInt32(bad, "size");
            ADD_FAILURE() << bad;
        } catch (const Failure& f) {
            EXPECT_EQ(f.kind(), FailureKind::Overflow);
            EXPECT_STREQ(f.what(), "Overflow: size");
        }
    }
}

TEST(CheckedArithmetic, OverflowIsAFailureNotAWrap)
{
    EXPECT_EQ(checkedAdd32(2147483646, 1), 2147483647);
    EXPECT_EQ(checkedMul32(360, 10), 3600);
    EXPECT_EQ(checkedAdd16(32766, 1), 32767);
    EXPECT_THROW(checkedAdd32(2147483647, 1), Failure);
    EXPECT_THROW(checkedMul32(214748365, 10), Failure);
    EXPECT_THROW(checkedAdd16(32767, 1), Failure);
}

TEST(ParseDecimal, AcceptsPlainDecimalNumbersOnly)
{
    EXPECT_EQ(parseDecimal("10", "w"), 10);
    EXPECT_EQ(parseDecimal(" -1.5e2 ", "w"), -150);
    EXPECT_EQ(parseDecimal("+.25", "w"), 0.25);
    EXPECT_EQ(parseDecimal("2D1", "w"), 20);
    for (const char* bad : {"", " ", "abc", "1,5", "1.2.3", "12x", ".", "-", "1e"}) {
        try {
            parseDecimal(bad, "cmd.txt, line 2, word \"x\"");
            ADD_FAILURE() << '"' << bad << '"';
        } catch (const Failure& f) {
            EXPECT_EQ(f.kind(), FailureKind::TypeMismatch) << bad;
            EXPECT_EQ(f.where(), "cmd.txt, line 2, word \"x\"");
        }
    }
}

TEST(CodePage932, ConvertsJapaneseAndReplacesWhatItCannotHold)
{
    EXPECT_EQ(toCp932("ＭＳ Ｐゴシック"), "\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e");
    EXPECT_EQ(toCp932("編集テキスト").size(), 12u);
    EXPECT_EQ(toCp932("ab\xE2\x82\xAC" "c"), "ab?c");      // euro sign
    EXPECT_EQ(toCp932("\xF0\x9F\x98\x80"), "?");           // emoji
    EXPECT_EQ(toCp932("\xFF\xFE"), "??");                  // not UTF-8
    EXPECT_EQ(cp932ToUtf8(toCp932("編集テキスト ～abc")), "編集テキスト ～abc");
    // A lead byte cut off at the end decodes to a replacement, never past the end.
    EXPECT_EQ(cp932ToCodepoints(std::string("A\x82", 2)), (std::u32string{U'A', 0xFFFD}));
}

// Every double-byte code the converter accepts decodes to a character that
// encodes back to a code of that character (NEC and IBM duplicates share one).
TEST(CodePage932, EveryAcceptedDoubleByteCodeRoundTrips)
{
    struct Range { unsigned first, last; };
    const Range leads[] = {{0x81, 0x9F}, {0xE0, 0xFC}};
    const Range trails[] = {{0x40, 0x7E}, {0x80, 0xFC}};
    int accepted = 0, fromF0 = 0;
    for (Range lr : leads)
        for (unsigned lead = lr.first; lead <= lr.last; ++lead)
            for (Range tr : trails)
                for (unsigned trail = tr.first; trail <= tr.last; ++trail) {
                    const std::string code{char(lead), char(trail)};
                    const std::u32string c = cp932ToCodepoints(code);
                    ASSERT_EQ(c.size(), 1u) << std::hex << lead << ' ' << trail;
                    if (c[0] == 0xFFFD)
                        continue;
                    ++accepted;
                    fromF0 += lead >= 0xF0;
                    const std::string back = toCp932(codepointsToUtf8(c));
                    ASSERT_EQ(back.size(), 2u) << std::hex << lead << ' ' << trail;
                    EXPECT_EQ(cp932ToCodepoints(back), c) << std::hex << lead << ' ' << trail;
                }
    EXPECT_EQ(cp932ToCodepoints("\xFB\xFC"), U"\u9AD9"); // 髙, an IBM extension
    EXPECT_EQ(cp932ToCodepoints("\xF0\x40"), U"\uE000"); // the user-defined area's first
    // JIS X 0208 6879, NEC row 13 83, NEC-selected IBM 374, IBM 388, user-defined 1880.
    EXPECT_EQ(accepted, 9604);
    EXPECT_EQ(fromF0, 388 + 1880);
}

TEST(CodePage932, Utf16RoundTrip)
{
    const std::string text = "編集\xF0\x9F\x98\x80x";
    std::u16string u16 = utf8ToUtf16(text);
    EXPECT_EQ(u16.size(), 5u); // two units for the emoji
    EXPECT_EQ(utf16ToUtf8(u16), text);
}
