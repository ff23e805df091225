// The font description and the text output into a device context.
#include "base/codepage.hpp"
#include "base/failure.hpp"
#include "outline/text_output.hpp"

#include <gtest/gtest.h>

#include <string>

using namespace lw;

namespace {

std::u16string faceField(const LOGFONT& lf) { return {lf.lfFaceName.begin(), lf.lfFaceName.end()}; }

} // namespace

TEST(SetLogFont, FillsTheFixedFieldsAndTheHeightAndAngle)
{
    LOGFONT lf;
    WindowFont font;
    font.bold = true; // never reaches the weight
    setLogFont(lf, "ＭＳ Ｐゴシック", 32, 360, font);
    EXPECT_EQ(lf.lfHeight, -32);
    EXPECT_EQ(lf.lfWidth, 0);
    EXPECT_EQ(lf.lfEscapement, 3600);
    EXPECT_EQ(lf.lfOrientation, 0);
    EXPECT_EQ(lf.lfWeight, 400);
    EXPECT_EQ(lf.lfItalic, 0);
    EXPECT_EQ(lf.lfUnderline, 0);
    EXPECT_EQ(lf.lfStrikeOut, 0);
    EXPECT_EQ(lf.lfCharSet, 128);
    EXPECT_EQ(lf.lfOutPrecision, 4);
    EXPECT_EQ(lf.lfClipPrecision, 0);
    EXPECT_EQ(lf.lfQuality, 0);
    EXPECT_EQ(lf.lfPitchAndFamily, 0);
}

TEST(SetLogFont, StylesAreStoredAsTheLowByteOfTrue)
{
    struct Case { bool italic, underline, strikeout; };
    for (auto c : {Case{true, false, false}, Case{false, true, false}, Case{false, false, true}, Case{true, true, true}}) {
        WindowFont font;
        font.italic = c.italic;
        font.underline = c.underline;
        font.strikeout = c.strikeout;
        LOGFONT lf;
        setLogFont(lf, "x", 10, 0, font);
        EXPECT_EQ(lf.lfItalic, c.italic ? 255 : 0);
        EXPECT_EQ(lf.lfUnderline, c.underline ? 255 : 0);
        EXPECT_EQ(lf.lfStrikeOut, c.strikeout ? 255 : 0);
    }
}

TEST(SetLogFont, FaceNameIsNulTerminatedBlankPaddedAndCutAt32)
{
    struct Case {
        std::string name;
        std::u16string expected;
    };
    std::string n31(31, 'a'), n32(32, 'b'), n40(40, 'c');
    const Case cases[] = {
        {"Arial", u"Arial" + std::u16string(1, u'\0') + std::u16string(26, u' ')},
        {"", std::u16string(1, u'\0') + std::u16string(31, u' ')},
        {n31, std::u16string(31, u'a') + std::u16string(1, u'\0')},
        {n32, std::u16string(32, u'b')},
        {n40, std::u16string(32, u'c')},
    };
    for (const auto& c : cases) {
        LOGFONT lf;
        setLogFont(lf, c.name, 10, 0, WindowFont{});
        EXPECT_EQ(faceField(lf), c.expected) << c.name;
    }
}

TEST(SetLogFont, EscapementOutsideThirtyTwoBitsIsOverflow)
{
    LOGFONT lf;
    try {
        setLogFont(lf, "x", 10, 214748365, WindowFont{});
        FAIL();
    } catch (const Failure& f) {
        EXPECT_EQ(f.kind(), FailureKind::Overflow);
    }
    setLogFont(lf, "x", 10, -214748364, WindowFont{});
    EXPECT_EQ(lf.lfEscapement, -2147483640);
}

TEST(AnsiLogFont, FaceNameBecomesCodePage932CutAt32Bytes)
{
    LOGFONT lf;
    setLogFont(lf, "ＭＳ Ｐゴシック", 32, 0, WindowFont{});
    LOGFONTA a = toAnsiLogFont(lf);
    std::string expected = toCp932("ＭＳ Ｐゴシック");
    EXPECT_EQ(std::string(a.lfFaceName.data(), expected.size()), expected);
    EXPECT_EQ(a.lfFaceName[expected.size()], '\0');
    EXPECT_EQ(a.lfHeight, -32);
    EXPECT_EQ(a.lfCharSet, 128);

    // 20 double-byte characters are 40 bytes: cut to 32, no NUL, no overrun.
    setLogFont(lf, "漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字", 32, 0, WindowFont{});
    a = toAnsiLogFont(lf);
    EXPECT_EQ(std::string(a.lfFaceName.data(), 32), toCp932("漢字漢字漢字漢字漢字漢字漢字漢字"));
}

TEST(OutputText, LeavesTheContextTransparentLeftAlignedWithItsFontBack)
{
    NullCanvas canvas;
    DeviceContext dc(canvas);
    HFONT before = dc.selectedFont();
    LOGFONT lf;
    setLogFont(lf, "ＭＳ Ｐゴシック", 32, 0, WindowFont{});
    for (std::int32_t alignment : {0, 1}) {
        BeginPath(dc);
        outputText(dc, lf, "編集", alignment, 10, 20);
        EndPath(dc);
        EXPECT_EQ(dc.backgroundMode(), TRANSPARENT);
        EXPECT_EQ(dc.textAlign(), 0u);
        EXPECT_EQ(dc.selectedFont(), before);
        EXPECT_GT(GetPath(dc, nullptr, nullptr, 0), 0);
    }
}

TEST(OutputText, EmptyTextAddsNothingToThePath)
{
    NullCanvas canvas;
    DeviceContext dc(canvas);
    LOGFONT lf;
    setLogFont(lf, "ＭＳ Ｐゴシック", 32, 0, WindowFont{});
    BeginPath(dc);
    outputText(dc, lf, "", 1, 230, 150);
    EndPath(dc);
    FlattenPath(dc);
    EXPECT_EQ(GetPath(dc, nullptr, nullptr, 0), 0);
}

TEST(OutputText, DoubleByteCharactersCountTwoBytes)
{
    // Three double-byte characters are handed over as six bytes.
    EXPECT_EQ(toCp932("編集テ").size(), 6u);
    EXPECT_EQ(toCp932("aﾃ").size(), 2u); // a half-width kana is one byte
}
