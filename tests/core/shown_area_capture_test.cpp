// A capture kept to the area a preview shows: what it leaves out, and that
// everything it keeps is the whole capture's, in the same order.
#include "outline_checks.hpp"

#include "outline/capture.hpp"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace lw;
using namespace lw::test;

namespace {

struct Piece {
    std::vector<POINT> points;
    std::vector<std::uint8_t> types;
    bool operator==(const Piece&) const = default;
};

std::vector<Piece> piecesOf(const CapturedOutline& o)
{
    std::vector<Piece> pieces;
    for (const Figure& f : figures(o))
        pieces.push_back({{f.points.begin(), f.points.end()}, {f.types.begin(), f.types.end()}});
    return pieces;
}

bool meets(const Piece& p, const DeviceArea& a)
{
    for (const POINT& q : p.points)
        if (q.x >= a.left && q.x <= a.right && q.y >= a.top && q.y <= a.bottom)
            return true;
    // A figure can also cross the area with no point inside it.
    std::int32_t left = p.points[0].x, right = left, top = p.points[0].y, bottom = top;
    for (const POINT& q : p.points) {
        left = std::min(left, q.x);
        right = std::max(right, q.x);
        top = std::min(top, q.y);
        bottom = std::max(bottom, q.y);
    }
    return left <= a.right && a.left <= right && top <= a.bottom && a.top <= bottom;
}

struct Case {
    const char* name;
    std::string text;
    WindowFont font;
    int angle = 0;
    TextStyle style{};
    DeviceArea area{0, 0, 460, 300};
    Placement placement = Placement::PreviewCentre;
    bool leavesOut = true; // whether some glyph lies wholly outside
};

WindowFont styled(const char* face, float size, bool italic, bool underline, bool strikeout)
{
    WindowFont f = fontOf(face, size);
    f.italic = italic;
    f.underline = underline;
    f.strikeout = strikeout;
    return f;
}

} // namespace

TEST(ShownAreaCapture, KeepsEveryFigureThatMeetsTheAreaAsTheWholeCaptureHasIt)
{
    const std::string line = repeated("編集テキストAgé", 12);
    const std::vector<Case> cases{
        {"long line at 144 pt", line, fontOf(design::kFaceName, 144)},
        {"at the origin", line, fontOf(design::kFaceName, 96), 0, {}, {0, 0, 460, 300}, Placement::Origin},
        {"short text, all shown", "編集", fontOf(design::kFaceName, 24), 0, {}, {0, 0, 460, 300},
         Placement::PreviewCentre, false},
        {"turned 30 degrees", line, fontOf(design::kFaceName, 72), 30},
        {"upside down", line, fontOf(design::kFaceName, 72), 180},
        {"a quarter turn", line, fontOf(design::kFaceName, 72), 90},
        {"vertical face", line, fontOf("@ＭＳ ゴシック", 96)},
        {"vertical face turned", line, fontOf("@ＭＳ 明朝", 96), 270},
        {"italic, underline, strikeout", line, styled(design::kFaceName, 96, true, true, true)},
        {"emboldened, wide, spaced", line, fontOf("DejaVu Sans", 96), 0, TextStyle{6, 250, true}},
        {"narrow, drawn closer", line, fontOf(design::kFaceName, 144), 15, TextStyle{-10, 40, false}},
        {"a small area in the middle", line, fontOf(design::kFaceName, 144), 0, {}, {200, 140, 210, 160}},
        {"an area one pixel wide", line, fontOf(design::kFaceName, 144), 0, {}, {230, 0, 230, 300}},
        {"an area off the text", line, fontOf(design::kFaceName, 24), 0, {}, {0, -900, 460, -800}},
        {"an empty area", line, fontOf(design::kFaceName, 24), 0, {}, {10, 10, 9, 9}},
        {"no text", "", fontOf(design::kFaceName, 144), 0, {}, {0, 0, 460, 300}, Placement::PreviewCentre,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Capture whole, kept;
        drawFlattenPath(c.placement, {c.text, c.font, c.angle, 461, 301, design::kTwipsPerPixel, Advances::Device, c.style},
                        whole.dc, whole.outline);
        drawFlattenPath(c.placement,
                        {c.text, c.font, c.angle, 461, 301, design::kTwipsPerPixel, Advances::Device, c.style, c.area},
                        kept.dc, kept.outline);
        ASSERT_TRUE(wellFormed(kept.outline));
        EXPECT_EQ(std::memcmp(&kept.outline.logFont, &whole.outline.logFont, sizeof(LOGFONT)), 0);
        EXPECT_EQ(kept.outline.upperIndex(), kept.outline.pointCount);

        const std::vector<Piece> all = piecesOf(whole.outline), shown = piecesOf(kept.outline);
        std::size_t next = 0;
        for (const Piece& p : all) {
            if (next < shown.size() && shown[next] == p) {
                ++next;
                continue;
            }
            ASSERT_FALSE(meets(p, c.area)) << "a figure that meets the area is missing";
        }
        EXPECT_EQ(next, shown.size()) << "a kept figure the whole capture does not have there";
        if (c.leavesOut)
            EXPECT_LT(shown.size(), all.size());
        else
            EXPECT_EQ(shown, all);
    }
}

// The underline and strikeout cross the whole line: they stay however
// little of it shows.
TEST(ShownAreaCapture, DecorationsStayWhenNoGlyphShows)
{
    const std::string line = repeated("編集テキスト", 20);
    Capture kept;
    drawFlattenPath(Placement::PreviewCentre,
                    {line, styled(design::kFaceName, 144, false, true, true), 0, 461, 301, design::kTwipsPerPixel,
                     Advances::Device, {}, DeviceArea{0, 0, 460, 300}},
                    kept.dc, kept.outline);
    const std::vector<Piece> shown = piecesOf(kept.outline);
    int rectangles = 0;
    for (const Piece& p : shown)
        rectangles += p.points.size() == 4 && p.points[0].y == p.points[1].y && p.points[1].x == p.points[2].x
                   && std::abs(p.points[1].x - p.points[0].x) > 5000;
    EXPECT_EQ(rectangles, 2);
}
