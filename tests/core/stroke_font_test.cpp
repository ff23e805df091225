// Stroke fonts: small files made here, whose strokes are worked out by hand
// from the formats' definitions, give exactly those strokes, scaled and
// placed; bad files are refused with the file, the line and why.

#include "base/failure.hpp"
#include "outline/stroke_font.hpp"
#include "outline/stroke_text.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace lw {
namespace {

using Strokes = std::vector<std::vector<StrokePoint>>;

// Hershey: space from J to Z (16 wide); '!' two strokes, N=-4 F=-12 M=-5
// around R, left bound J=-8, baseline 9 below R.
constexpr const char* kHershey = "12345  1JZ\n"
                                 "12345  6JZNFNM RVFVM\n";

// CAD: "A" a caret and a bar; "B" the caret by reference and a half circle
// of bulge 1 from (0,0) up to (0,9), bulging to the right.
constexpr const char* kCad = "# LetterSpacing: 2\n"
                             "# WordSpacing: 5\n"
                             "\n"
                             "[0041] A\n"
                             "0,0;3,9;6,0\n"
                             "1,3;5,3\n"
                             "\n"
                             "[#0042] B\n"
                             "C0041\n"
                             "0,0;0,9,A1\n";

TEST(StrokeFont, ReadersGiveTheStrokesTheFormatsDefine)
{
    const StrokeFont hershey = readJhf(kHershey, "t.jhf");
    EXPECT_EQ(hershey.em, 32);
    ASSERT_EQ(hershey.glyphs.size(), 2u);
    EXPECT_EQ(hershey.glyphs.at(U' ').advance, 16);
    EXPECT_TRUE(hershey.glyphs.at(U' ').strokes.empty());
    EXPECT_EQ(hershey.glyphs.at(U'!').strokes, (Strokes{{{4, 21}, {4, 14}}, {{12, 21}, {12, 14}}}));

    const StrokeFont cad = readLff(kCad, "t.lff");
    EXPECT_EQ(cad.em, 12);
    EXPECT_EQ(cad.glyphs.at(U'A').strokes, (Strokes{{{0, 0}, {3, 9}, {6, 0}}, {{1, 3}, {5, 3}}}));
    EXPECT_EQ(cad.glyphs.at(U'A').advance, 6 + 2);
    const Strokes& b = cad.glyphs.at(U'B').strokes;
    ASSERT_EQ(b.size(), 3u);
    EXPECT_EQ(b[1], cad.glyphs.at(U'A').strokes[1]);
    // The arc: ends as written, every point on the circle about (0, 4.5),
    // passing through (4.5, 4.5), chords within the reader's tolerance.
    const auto& arc = b[2];
    EXPECT_EQ(arc.front(), (StrokePoint{0, 0}));
    EXPECT_EQ(arc.back(), (StrokePoint{0, 9}));
    double right = 0;
    for (const StrokePoint& p : arc) {
        EXPECT_NEAR(std::hypot(p.x, p.y - 4.5), 4.5, 1e-9);
        right = std::max(right, p.x);
    }
    EXPECT_NEAR(right, 4.5, 0.01);
    EXPECT_EQ(cad.glyphs.at(U'B').advance, 6 + 2);
}

// A large CAD font is read for the text's glyphs only: those are as a whole
// read gives them, references to glyphs not asked for followed.
TEST(StrokeFont, GlyphsReadAloneAreThoseOfTheWholeFont)
{
    const StrokeFont whole = readLff(kCad, "t.lff");
    const StrokeFont some = readLff(kCad, "t.lff", [](char32_t c) { return c == U'B'; });
    ASSERT_EQ(some.glyphs.size(), 1u);
    EXPECT_EQ(some.glyphs.at(U'B').strokes, whole.glyphs.at(U'B').strokes);
    EXPECT_EQ(some.glyphs.at(U'B').advance, whole.glyphs.at(U'B').advance);
    EXPECT_EQ(some.codes, (std::vector<char32_t>{U'A', U'B'}));
    EXPECT_EQ(whole.codes, some.codes);
}

// A CAD font lists its glyphs in any order and may give a code again: the
// glyphs read are those of the first of each code, the codes ascending,
// whether every glyph is read, those a predicate takes or those of a list.
TEST(StrokeFont, GlyphsInAnyOrderAndRepeatedCodesReadAsTheFirstOfEach)
{
    // Codes across the 21 bits a code has; glyph k of a file is one stroke
    // to (k + 1, k + 1), so which one was kept shows.
    const std::vector<char32_t> codes = {0x41, 0x42, 0x7FF, 0x800, 0x4E00, 0xFFFF, 0x10000, 0x10FFFF};
    const std::vector<std::vector<std::size_t>> orders = {
        {0, 1, 2, 3, 4, 5, 6, 7},
        {7, 6, 5, 4, 3, 2, 1, 0},
        {4, 0, 7, 2, 5, 1, 6, 3},
        {3, 3, 0, 1, 2, 4, 5, 6, 7, 0},
        {7, 0, 6, 1, 5, 2, 4, 3, 7, 6, 5, 4, 3, 2, 1, 0},
    };
    for (const auto& order : orders) {
        std::string file;
        std::map<char32_t, std::size_t> first;
        for (std::size_t k = 0; k < order.size(); ++k) {
            char glyph[64];
            std::snprintf(glyph, sizeof glyph, "[%04X]\n0,0;%zu,%zu\n", unsigned(codes[order[k]]), k + 1, k + 1);
            file += glyph;
            first.try_emplace(codes[order[k]], k + 1);
        }
        const std::u32string some = {codes[order[0]], codes[order.back()], U'Z'};
        const auto inSome = [&](char32_t c) { return some.find(c) != std::u32string::npos; };
        const StrokeFont fonts[] = {readLff(file, "t.lff"), readLff(file, "t.lff", inSome), readLff(file, "t.lff", some)};
        for (const StrokeFont& font : fonts) {
            std::vector<char32_t> ascending;
            for (const auto& [c, k] : first)
                ascending.push_back(c);
            EXPECT_EQ(font.codes, ascending);
            for (const auto& [c, k] : first) {
                if (&font != &fonts[0] && !inSome(c)) {
                    EXPECT_FALSE(font.glyphs.contains(c));
                    continue;
                }
                const double at = double(k);
                ASSERT_TRUE(font.glyphs.contains(c)) << unsigned(c);
                EXPECT_EQ(font.glyphs.at(c).strokes, (Strokes{{{0, 0}, {at, at}}})) << unsigned(c);
            }
        }
    }
}

TEST(StrokeFont, TextIsScaledTurnedAnchoredAndMirrored)
{
    const StrokeFont hershey = readJhf(kHershey, "t.jhf");
    // 72 pt: an em of 25.4 mm, 0.79375 mm a Hershey unit.
    const double u = 25.4 / 32;
    struct Case {
        const char* what;
        StrokeStyle style;
        std::vector<MmPoint> firstStroke; // of "!" after the space
    };
    const double x = 16 * u + 4 * u; // the space's advance, then the stroke's place
    const Case cases[] = {
        {"plain", {.sizePoints = 72}, {{x, 21 * u}, {x, 14 * u}}},
        {"half width, spacing 10 pt", {.sizePoints = 72, .spacingPoints = 10, .widthPercent = 50},
         {{8 * u + 10 * 25.4 / 72 + 2 * u, 21 * u}, {8 * u + 10 * 25.4 / 72 + 2 * u, 14 * u}}},
        {"turned 90", {.sizePoints = 72, .angle = 90}, {{-21 * u, x}, {-14 * u, x}}},
        {"top-right anchor", {.sizePoints = 72, .anchor = Anchor::TopRight},
         {{x - 32 * u, 21 * u - 25 * u}, {x - 32 * u, 14 * u - 25 * u}}},
        {"mirrored in x about the centre",
         {.sizePoints = 72, .anchor = Anchor::Centre, .mirror = Mirror::X},
         {{-(x - 16 * u), 21 * u - 9 * u}, {-(x - 16 * u), 14 * u - 9 * u}}},
    };
    for (const Case& c : cases) {
        const StrokeLayout l = layStrokeText(U" !", hershey, {}, c.style);
        ASSERT_EQ(l.lines.count(), 2u) << c.what;
        const auto got = l.lines.line(0);
        ASSERT_EQ(got.size(), c.firstStroke.size()) << c.what;
        for (std::size_t k = 0; k < got.size(); ++k) {
            EXPECT_NEAR(got[k].x, c.firstStroke[k].x, 1e-9) << c.what << " point " << k;
            EXPECT_NEAR(got[k].y, c.firstStroke[k].y, 1e-9) << c.what << " point " << k;
        }
    }
}

// Vertical writing ("@"): a wide character turns a quarter counter-clockwise
// about the middle of an em cell (x 6, y 3 units of 12) and advances an em,
// so the line turned to -90 degrees reads downwards with it upright; others
// lie as in a line.
TEST(StrokeFont, VerticalWritingTurnsWideCharactersInTheirCell)
{
    const StrokeFont cad = readLff("[0041]\n0,0;0,9\n[53e3]\n0,0;0,9\n", "v.lff");
    const double u = 25.4 / 12; // 72 pt
    const StrokeLayout l = layStrokeText(U"口口A", cad, {}, {.sizePoints = 72, .vertical = true});
    // The stroke up x = 0 of an advance of 3 (the letter spacing) stands
    // 4.5 in from the cell's side, then turns.
    const std::vector<std::vector<MmPoint>> want = {
        {{9 * u, 1.5 * u}, {0, 1.5 * u}}, {{21 * u, 1.5 * u}, {12 * u, 1.5 * u}}, {{24 * u, 0}, {24 * u, 9 * u}}};
    ASSERT_EQ(l.lines.count(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i)
        for (std::size_t k = 0; k < 2; ++k) {
            EXPECT_NEAR(l.lines.line(i)[k].x, want[i][k].x, 1e-9) << i << "," << k;
            EXPECT_NEAR(l.lines.line(i)[k].y, want[i][k].y, 1e-9) << i << "," << k;
        }
}

TEST(StrokeFont, CharactersAFaceLacksComeFromTheFallbackOrAreNamed)
{
    const StrokeFont hershey = readJhf(kHershey, "t.jhf");
    const StrokeFont cad = readLff(kCad, "t.lff");
    const StrokeFallback fallback = [&](char32_t c) { return cad.glyphs.contains(c) ? &cad : nullptr; };
    const StrokeLayout l = layStrokeText(U"!A?B?", hershey, fallback, {.sizePoints = 72});
    ASSERT_EQ(l.fallbacks.size(), 1u);
    EXPECT_EQ(l.fallbacks[0].font, &cad);
    EXPECT_EQ(l.fallbacks[0].characters, U"AB");
    EXPECT_EQ(l.missing, U"?");
    EXPECT_EQ(l.lines.count(), 2u + 2u + 3u);
    // The fallback's glyph on the same baseline at its own em: A's caret
    // top is 9 of 12 units up, after "!" (16 units of 32).
    EXPECT_NEAR(l.lines.line(2)[1].y, 9 * 25.4 / 12, 1e-9);
    EXPECT_NEAR(l.lines.line(2)[0].x, 16 * 25.4 / 32, 1e-9);
    // Empty text, spaces only: nothing to draw, no error.
    EXPECT_EQ(layStrokeText(U"", hershey, {}, {}).lines.count(), 0u);
    EXPECT_EQ(layStrokeText(U"   ", cad, {}, {}).lines.count(), 0u);
}

std::string manyGlyphs(std::size_t count)
{
    std::string s;
    for (std::size_t i = 0; i < count; ++i) {
        char line[32];
        std::snprintf(line, sizeof line, "[%zx]\n0,0;1,1\n", i + 0x21);
        s += line;
    }
    return s;
}

// Each glyph refers to the one before twice: the points double each step.
std::string doublingReferences(int steps)
{
    std::string s = "[0041]\n0,0;1,1;2,0;3,1;4,0;5,1;6,0;7,1\n";
    for (int i = 1; i <= steps; ++i) {
        char glyph[64];
        std::snprintf(glyph, sizeof glyph, "[%04x]\nC%04x\nC%04x\n", 0x41 + i, 0x41 + i - 1, 0x41 + i - 1);
        s += glyph;
    }
    return s;
}

// Each glyph refers to the next, the last has a stroke.
std::string referenceChain(int length)
{
    std::string s;
    for (int i = 0; i < length; ++i) {
        char glyph[64];
        std::snprintf(glyph, sizeof glyph, "[%04x]\nC%04x\n", 0x100 + i, 0x100 + i + 1);
        s += glyph;
    }
    char last[64];
    std::snprintf(last, sizeof last, "[%04x]\n0,0;1,1\n", 0x100 + length);
    return s + last;
}

// Megabytes a reader must look through once, not once a character: a
// line holding the character that starts a glyph or a reference many times
// over, and a glyph of many references (the line each stands on is only
// counted for a refusal).
std::string manyOnOneLine(char c)
{
    return "[0041]\n0,0;1,1" + std::string(std::size_t(4) << 20, c) + "\n[0042]\n0,0;1,1\n";
}

std::string manyReferences(std::size_t count)
{
    std::string s = "[0042]\n0,0;1,1\n[0041]\n";
    for (std::size_t i = 0; i < count; ++i)
        s += "C0042\n";
    return s;
}

// The font's bound counts what each reference copies, once: a glyph made
// of many copies of a small one reads as long as it holds no more than a
// glyph may, each copy a stroke of its own.
TEST(StrokeFont, AGlyphOfManyReferencesWithinTheBoundsReads)
{
    for (const std::size_t count : {std::size_t(1), std::size_t(2000), std::size_t(40000)}) {
        const StrokeFont font = readLff(manyReferences(count), "t.lff");
        const auto& strokes = font.glyphs.at(U'A').strokes;
        ASSERT_EQ(strokes.size(), count);
        for (const auto& stroke : strokes)
            EXPECT_EQ(stroke.size(), 2u);
    }
}

TEST(StrokeFont, BadFilesAreRefusedWithTheFileTheLineAndWhy)
{
    struct Case {
        const char* what;
        const char* file;
        std::string bytes;
        std::string where; // the message holds it
    };
    const Case cases[] = {
        {"truncated record", "t.jhf", "12345  1JZ\n12345 10JZNFNM\n", "t.jhf, line 2: the file ends within this glyph"},
        {"record longer than its count", "t.jhf", "12345  2JZNFNMXX\n", "line 1: the glyph has more characters"},
        {"coordinate outside the characters", "t.jhf", "12345  2JZN\x01\n", "line 1: a coordinate is not"},
        {"no count", "t.jhf", "12345  xJZ\n", "line 1: the count"},
        {"empty Hershey file", "t.jhf", "", "t.jhf: the file holds no glyph"},
        {"word for a coordinate", "t.lff", "[0041]\n0,0;x,1\n", "t.lff, line 2: \"x,1\" is not a coordinate"},
        {"infinite coordinate", "t.lff", "[0041]\n0,0;inf,1\n", "line 2: \"inf,1\" is not a coordinate"},
        {"coordinate far away", "t.lff", "[0041]\n\n[0042]\n0,0;1e9,1\n", "line 4: a coordinate lies beyond"},
        {"bad bulge", "t.lff", "[0041]\n0,0;1,1,B2\n", "line 2: \"B2\" is not an arc's bulge"},
        {"bad code", "t.lff", "[zz] A\n0,0;1,1\n", "line 1: a glyph starts with its code"},
        {"strokes outside a glyph", "t.lff", "0,0;1,1\n", "line 1: a line of strokes outside a glyph"},
        {"loop of references", "t.lff", "[0041]\nC0042\n\n[0042]\n0,0;1,1\nC0041\n",
         "line 6: U+0042 refers to U+0041 and so, through a loop of references, to itself"},
        {"reference to itself", "t.lff", "[0041]\nC0041\n", "line 2: U+0041 refers to U+0041 and so"},
        {"reference to nothing", "t.lff", "[0041]\nC0043\n", "line 2: U+0041 refers to U+0043, which the file lacks"},
        {"huge glyph count", "t.lff", manyGlyphs(kStrokeFontMaxGlyphs + 1),
         "line " + std::to_string(2 * kStrokeFontMaxGlyphs + 1) + ": more than 65536 glyphs"},
        {"references that double", "t.lff", doublingReferences(20), "would hold more than 100000 points"},
        {"a chain of references", "t.lff", referenceChain(100), "through more than 64 references in a row"},
        {"a line of many brackets", "t.lff", manyOnOneLine('['), "t.lff, line 2: \"1,1[[["},
        {"a line of many Cs", "t.lff", manyOnOneLine('C'), "t.lff, line 2: \"1,1CCC"},
        {"a glyph of many references", "t.lff", manyReferences(500000), "t.lff, line "},
    };
    for (const Case& c : cases) {
        try {
            (void)readStrokeFont(c.bytes, c.file);
            ADD_FAILURE() << c.what << ": read";
        } catch (const Failure& f) {
            EXPECT_NE(std::string(f.what()).find(c.where), std::string::npos) << c.what << ": " << f.what();
        }
    }
}

} // namespace
} // namespace lw
