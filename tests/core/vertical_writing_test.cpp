// Vertical writing with a face name that begins with "@": the glyphs the
// shaper picks for top-to-bottom text, full-width characters turned a
// quarter turn, the rest laid as in a horizontal line.
#include "outline_checks.hpp"

#include "outline/text_output.hpp"
#include "platform/face_info.hpp"
#include "platform/freetype/font_library.hpp"

#include "base/codepage.hpp"

#include <gtest/gtest.h>

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
