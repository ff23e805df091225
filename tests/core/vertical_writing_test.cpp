// Vertical writing with a face name that begins with "@": the glyphs the
// shaper picks for top-to-bottom text, full-width characters turned a
// quarter turn, the rest laid as in a horizontal line.
#include "outline_checks.hpp"

#include "outline/text_output.hpp"
#include "platform/face_info.hpp"
#include "platform/freetype/font_library.hpp"

#include "base/codepage.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace lw;
using test::boundingBox;
using test::Box;
using test::Capture;
using test::fontOf;

namespace {

// The glyph ids `hb-shape --direction=ttb` gives for the text, in order.
std::vector<unsigned> shapedIds(const std::string& file, const std::string& text)
{
    const std::string command = "hb-shape --direction=ttb --no-glyph-names --no-positions --no-clusters '" + file +
                                "' '" + text + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string out;
    char chunk[256];
    while (pipe && std::fgets(chunk, sizeof chunk, pipe.get()))
        out += chunk;
    std::vector<unsigned> ids;
    for (char& ch : out)
        if (ch == '[' || ch == ']' || ch == '|')
            ch = ' ';
    std::istringstream words(out);
    for (unsigned id; words >> id;)
        ids.push_back(id);
    return ids;
}

constexpr const char* kLine = "縦（書）き、ー。ABC１２「」";

} // namespace

TEST(VerticalWriting, GlyphsAreTheShapersTopToBottomChoice)
{
    for (const char* face : {"ＭＳ ゴシック", "ＭＳ 明朝"}) {
        const FontFace& f = resolveFace(face, false);
        const std::vector<unsigned> expected = shapedIds(f.file, kLine);
        const std::u32string chars = utf8ToCodepoints(kLine);
        ASSERT_EQ(expected.size(), chars.size()) << face << ": hb-shape gave no line for " << f.file;
        int substituted = 0;
        for (std::size_t i = 0; i < chars.size(); ++i) {
            EXPECT_EQ(f.verticalIndex(chars[i]), expected[i]) << face << ", character " << i;
            substituted += f.verticalGlyph(chars[i]) != f.glyph(chars[i]) ? 1 : 0;
        }
        // Brackets, the long vowel mark and the small punctuation have
        // vertical forms in both faces.
        EXPECT_GE(substituted, 6) << face;
    }
}

TEST(VerticalWriting, AnAtNameDrawsTheSameFaceAndHalfWidthAsInALine)
{
    struct Case { const char* text; bool same; };
    for (auto c : {Case{"ABC 123", true}, Case{"縦", false}, Case{"（", false}, Case{"A縦", false}}) {
        Capture line, vertical;
        line.run(c.text, fontOf("ＭＳ ゴシック"));
        vertical.run(c.text, fontOf("@ＭＳ ゴシック"));
        const bool same = line.outline.pointCount == vertical.outline.pointCount &&
                          std::equal(line.outline.pathPoints.begin(),
                                     line.outline.pathPoints.begin() + line.outline.pointCount,
                                     vertical.outline.pathPoints.begin());
        EXPECT_EQ(same, c.same) << c.text;
    }
    EXPECT_EQ(describeFace("@ＭＳ ゴシック", false, "", false).family, describeFace("ＭＳ ゴシック", false, "", false).family);
}

TEST(VerticalWriting, AFullWidthCharacterTurnsAQuarterTurnAboutItsReferencePoint)
{
    // "縦" is not square; its ink turned a quarter turn swaps width and height.
    for (int angle : {0, 90, 270}) {
        Capture line, vertical;
        const Box a = boundingBox(line.run("縦", fontOf("ＭＳ 明朝", 48), angle));
        const Box b = boundingBox(vertical.run("縦", fontOf("@ＭＳ 明朝", 48), angle));
        EXPECT_NEAR(a.width(), b.height(), 1) << angle;
        EXPECT_NEAR(a.height(), b.width(), 1) << angle;
    }
    // Turned about the pen on the baseline: a line's ink at x in [l, r] and
    // y in [t, b] (the baseline at the ascent) comes to x in
    // [t - ascent, b - ascent] and y in [ascent - r, ascent - l].
    for (const std::string face : {"ＭＳ ゴシック", "ＭＳ 明朝"}) {
        Capture line, vertical;
        const Box a = boundingBox(line.run("一", fontOf(face.c_str(), 48)));
        const Box b = boundingBox(vertical.run("一", fontOf(("@" + face).c_str(), 48)));
        // 48 pt is a 64-pixel em at 96 dpi.
        const FontFace& f = resolveFace(face, false);
        const int ascent = int(std::lround(f.ascent * 64.0 / f.unitsPerEm));
        EXPECT_GT(a.width(), 4 * a.height()) << face;
        EXPECT_NEAR(b.left, a.top - ascent, 1) << face;
        EXPECT_NEAR(b.right, a.bottom - ascent, 1) << face;
        EXPECT_NEAR(b.top, ascent - a.right, 1) << face;
        EXPECT_NEAR(b.bottom, ascent - a.left, 1) << face;
    }
}

TEST(VerticalWriting, EachTurnedCharacterAdvancesByItsVerticalAdvance)
{
    // `hb-shape --direction=ttb --no-glyph-names --no-clusters` (HarfBuzz
    // 6.0.0) on each face's file: glyph@offset+advance, font units, 2048 to
    // the em. The proportional faces' vertical advances are their own; the
    // monospaced face's are all the em.
    struct Row {
        const char* face;
        const char* shaped;
    };
    const Row rows[] = {
        {"ＭＳ Ｐゴシック",
         "[2137@-1024,-1802+0,-2048|12595@-1024,-881+0,-1126|2182@-1024,-1802+0,-2048|12596@-1024,-1803+0,-1126|"
         "9470@-1024,-1720+0,-1925|12578@-1024,-1802+0,-1024|9457@-1024,-1741+0,-1925|12579@-1024,-1802+0,-1024|"
         "12641@-1024,-1679+0,-1720|12642@-1024,-1700+0,-1782|12607@-1024,-921+0,-1167|12608@-1024,-1802+0,-1167]"},
        {"ＭＳ Ｐ明朝",
         "[2137@-1024,-1802+0,-2048|12595@-1024,-799+0,-1044|2182@-1024,-1802+0,-2048|12596@-1024,-1802+0,-1044|"
         "9470@-1024,-1781+0,-1987|12578@-1024,-1802+0,-1024|9457@-1024,-1720+0,-1905|12579@-1024,-1802+0,-1024|"
         "12641@-1024,-1680+0,-1720|12642@-1024,-1679+0,-1741|12607@-1024,-840+0,-1085|12608@-1024,-1802+0,-1085]"},
        {"ＭＳ ゴシック",
         "[2137@-1024,-1802+0,-2048|7380@-1024,-1802+0,-2048|2182@-1024,-1802+0,-2048|7381@-1024,-1802+0,-2048|"
         "609@-1024,-1802+0,-2048|7368@-1024,-1802+0,-2048|7372@-1024,-1802+0,-2048|7369@-1024,-1802+0,-2048|"
         "536@-1024,-1802+0,-2048|537@-1024,-1802+0,-2048|7392@-1024,-1802+0,-2048|7393@-1024,-1802+0,-2048]"},
    };
    const std::u32string chars = utf8ToCodepoints("縦（書）き、ー。１２「」");
    for (const Row& row : rows) {
        std::string shaped = row.shaped;
        for (char& ch : shaped)
            if (ch == '[' || ch == ']' || ch == '|' || ch == '@' || ch == ',' || ch == '+')
                ch = ' ';
        std::istringstream words(shaped);
        std::vector<unsigned> ids;
        std::vector<int> advances;
        for (int id, dx, dy, ax, ay; words >> id >> dx >> dy >> ax >> ay;) {
            ids.push_back(unsigned(id));
            advances.push_back(-ay);
        }
        ASSERT_EQ(ids.size(), chars.size()) << row.face;
        const FontFace& f = resolveFace(row.face, false);
        // The underline spans the line's advance: after each character it
        // ends where the pen stands, each advance rounded at the 32-pixel em.
        WindowFont font = fontOf(("@" + std::string(row.face)).c_str());
        font.underline = true;
        long pen = 0;
        for (std::size_t i = 0; i < chars.size(); ++i) {
            ASSERT_EQ(f.verticalIndex(chars[i]), ids[i]) << row.face << ": not the file the line was shaped on";
            pen += std::lround(advances[i] * 32.0 / f.unitsPerEm);
            Capture c;
            const CapturedOutline& o = c.run(codepointsToUtf8(chars.substr(0, i + 1)), font);
            const auto bar = test::figureRanges(o).back();
            Box b;
            for (int k = bar.first; k <= bar.second; ++k) {
                b.left = std::min(b.left, o.pathPoints[std::size_t(k)].x);
                b.right = std::max(b.right, o.pathPoints[std::size_t(k)].x);
            }
            EXPECT_EQ(b.left, 0) << row.face << ", " << i + 1 << " characters";
            EXPECT_EQ(b.right, pen) << row.face << ", " << i + 1 << " characters";
        }
    }
}
