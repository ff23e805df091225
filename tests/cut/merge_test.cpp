// The rings the merge reads: each figure's box, and how far the set reaches
// from the origin (which sets the merge's grid).
#include "cut/merge.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using lw::POINT;

struct Figures {
    std::vector<POINT> points;
    std::vector<std::uint8_t> types;

    Figures& square(std::int32_t x, std::int32_t y, std::int32_t side, bool backwards = false)
    {
        std::vector<POINT> corners{{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}};
        if (backwards)
            std::swap(corners[1], corners[3]);
        for (std::size_t k = 0; k < corners.size(); ++k) {
            points.push_back(corners[k]);
            types.push_back(k == 0 ? lw::PT_MOVETO : k + 1 == corners.size() ? lw::PT_LINETO | lw::PT_CLOSEFIGURE
                                                                             : lw::PT_LINETO);
        }
        return *this;
    }

    // Any closed polygon, as given.
    Figures& ring(std::vector<POINT> corners)
    {
        for (std::size_t k = 0; k < corners.size(); ++k) {
            points.push_back(corners[k]);
            types.push_back(k == 0 ? lw::PT_MOVETO : k + 1 == corners.size() ? lw::PT_LINETO | lw::PT_CLOSEFIGURE
                                                                             : lw::PT_LINETO);
        }
        return *this;
    }
};

// How often the closed polygon winds around (x, y), counted the plain way:
// signed crossings of the ray to the right.
int windingAround(const std::vector<POINT>& ring, double x, double y)
{
    int winding = 0;
    for (std::size_t k = 0; k < ring.size(); ++k) {
        const POINT a = ring[k], b = ring[(k + 1) % ring.size()];
        if ((a.y <= y) == (b.y <= y))
            continue;
        const double crossX = a.x + (y - a.y) * (b.x - a.x) / double(b.y - a.y);
        if (crossX > x)
            winding += b.y > a.y ? 1 : -1;
    }
    return winding;
}

// The merge's contours as point lists, each times its piece's scale.
std::vector<std::vector<POINT>> piecesOf(const lw::Merged& merged)
{
    std::vector<std::vector<POINT>> pieces;
    for (const lw::Piece& p : merged.pieces) {
        std::vector<POINT> ring;
        for (std::uint32_t k = 0; k < p.count; ++k) {
            const POINT q = p.points[p.reversed ? p.count - 1 - k : k];
            ring.push_back({q.x * p.scale, q.y * p.scale});
        }
        pieces.push_back(ring);
    }
    return pieces;
}

// That the pieces (on the grid of halves) are ink exactly where the figures
// wind, each point at most once, over a lattice of points off every edge
// and every crossing, from -3 up to `width` and `height` halves; and that
// the figures hold some ink there.
void expectInkWhereTheyWind(const Figures& given, const std::vector<std::vector<POINT>>& pieces, int width,
                            int height, const std::string& what)
{
    std::vector<std::vector<POINT>> figures;
    for (std::size_t k = 0; k < given.points.size(); ++k) {
        if (given.types[k] == lw::PT_MOVETO)
            figures.emplace_back();
        figures.back().push_back({given.points[k].x * 2, given.points[k].y * 2});
    }
    int inkSeen = 0;
    for (int x = -3; x < width; ++x)
        for (int y = -3; y < height; ++y) {
            const double px = x + 0.27, py = y + 0.61;
            int want = 0, got = 0;
            for (const auto& f : figures)
                want += windingAround(f, px, py);
            for (const auto& p : pieces)
                got += windingAround(p, px, py);
            inkSeen += want != 0;
            EXPECT_EQ(want != 0, got != 0) << what << " at " << px / 2 << "," << py / 2;
            EXPECT_LE(got < 0 ? -got : got, 1) << what << " at " << px / 2 << "," << py / 2;
        }
    EXPECT_GT(inkSeen, 0) << what;
}

// Where edges meet the clipper decides; whichever way the rings run, and
// whether or not one crosses itself, the ink is where the rings' winding
// numbers add up to anything but zero.
TEST(CadMerge, ClippedInkIsWhereTheRingsWind)
{
    struct Row {
        std::string what;
        Figures figures;
    };
    const std::vector<Row> rows{
        {"crossing squares, both one way", Figures{}.square(0, 0, 10).square(5, 5, 10)},
        {"crossing squares, both the other way", Figures{}.square(0, 0, 10, true).square(5, 5, 10, true)},
        {"crossing squares, one each way", Figures{}.square(0, 0, 10).square(5, 5, 10, true)},
        {"a hole poking out of its square", Figures{}.square(0, 0, 10).square(6, 3, 8, true)},
        // A bow tie whose larger lobe gives the ring its area's sign, with a
        // square run the same way inside that lobe: the smaller lobe winds
        // the other way and is ink all the same.
        {"an uneven bow tie and a square", Figures{}.ring({{16, 4}, {16, 0}, {0, 12}, {0, 0}}).square(2, 2, 3)},
        {"the same, the other way round",
         Figures{}.ring({{0, 0}, {0, 12}, {16, 0}, {16, 4}}).square(2, 2, 3, true)},
    };
    for (const Row& row : rows) {
        lw::RingSet rings;
        lw::ringsOf(row.figures.points, row.figures.types, rings);
        lw::NestingScratch scratch;
        // Points off every edge and every point where edges cross (all of
        // which lie on the grid of halves here).
        expectInkWhereTheyWind(row.figures, piecesOf(lw::mergeNonzero(rings, 2, scratch)), 40, 40, row.what);
    }
}

TEST(CadMerge, RingsGiveTheBoxOfTheirPointsAndTheReachFromTheOrigin)
{
    struct Row {
        std::string what;
        Figures figures;
        std::int32_t left, top, right, bottom;
        std::int64_t reach;
    };
    const std::vector<Row> rows{
        {"nothing", Figures{}, 0, 0, 0, 0, 0},
        // The box is the points' own; the reach still counts the origin.
        {"away from the origin", Figures{}.square(50, 60, 10), 50, 60, 60, 70, 70},
        {"left of and above it", Figures{}.square(-90, -80, 10), -90, -80, -80, -70, 90},
    };
    for (const Row& row : rows) {
        lw::RingSet rings;
        lw::ringsOf(row.figures.points, row.figures.types, rings);
        EXPECT_EQ(rings.left, row.left) << row.what;
        EXPECT_EQ(rings.top, row.top) << row.what;
        EXPECT_EQ(rings.right, row.right) << row.what;
        EXPECT_EQ(rings.bottom, row.bottom) << row.what;
        EXPECT_EQ(rings.reach, row.reach) << row.what;
    }
}

// A group the merge has met before, moved by whole pixels, takes what was
// found for it (the clipper's contours only where it lay); a group that
// only looks the same from its rings' boxes, areas and counts must not. Drawings merged in turn in one store, forwards
// and backwards, each checked against the rings' own winding over a lattice.
TEST(CadMerge, KnownGroupsGiveInkWhereTheRingsWind)
{
    // A triangle with a square hole inside; the other, a right triangle,
    // has the same box, area and point count but its slope crosses the same
    // square (on whole pixels, so the clipper's rounding moves nothing).
    const auto glyph = [](Figures& f, std::int32_t dx, std::int32_t dy, bool leaning, bool holeReversed = true) {
        f.ring({{dx, dy}, {dx + 20, dy}, {dx + (leaning ? 0 : 10), dy + 20}});
        f.square(dx + 8, dy + 10, 3, holeReversed);
    };
    struct Row {
        std::string what;
        Figures figures;
    };
    std::vector<Row> rows(5);
    rows[0].what = "a glyph and its copies";
    for (const POINT at : {POINT{0, 0}, POINT{30, 0}, POINT{60, 5}})
        glyph(rows[0].figures, at.x, at.y, false);
    rows[1].what = "a look-alike before a copy";
    glyph(rows[1].figures, 0, 0, true);
    glyph(rows[1].figures, 30, 0, false);
    rows[2].what = "look-alikes only";
    glyph(rows[2].figures, 0, 3, true);
    glyph(rows[2].figures, 30, 0, true);
    rows[3].what = "copies whose corners touch";
    glyph(rows[3].figures, 0, 0, false);
    glyph(rows[3].figures, 20, 0, false);
    rows[4].what = "the square run the triangle's way";
    glyph(rows[4].figures, 0, 0, false, false);
    glyph(rows[4].figures, 30, 0, false, false);

    lw::NestingScratch scratch;
    lw::KnownGroups known;
    for (int round = 0; round < 2; ++round)
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const Row& row = rows[round == 0 ? i : rows.size() - 1 - i];
            const std::string what = row.what + (round == 0 ? ", forwards" : ", backwards");
            lw::RingSet rings;
            lw::ringsOf(row.figures.points, row.figures.types, rings);
            const auto pieces = piecesOf(lw::mergeNonzero(rings, 2, scratch, known));
            lw::NestingScratch alone;
            EXPECT_EQ(pieces, piecesOf(lw::mergeNonzero(rings, 2, alone))) << what;
            expectInkWhereTheyWind(row.figures, pieces, 170, 55, what);
        }
}

// Each closed figure becomes its ring cleaned of repeats and spikes (the
// closing end included), with the box and twice the area of what is kept,
// counted here the plain way; the set's box holds every point read.
TEST(CadMerge, RingsAreTheFiguresCleanedWithTheirBoxAndArea)
{
    constexpr std::int32_t kFar = (1 << 30) - 3; // terms past 64 bits when summed
    struct Row {
        std::string what;
        Figures figures;
        std::vector<std::vector<POINT>> want;
    };
    const std::vector<POINT> square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    const std::vector<Row> rows{
        {"as drawn", Figures{}.ring(square), {square}},
        {"the first point again at the end", Figures{}.ring({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}), {square}},
        {"a point repeated", Figures{}.ring({{0, 0}, {10, 0}, {10, 0}, {10, 10}, {0, 10}}), {square}},
        {"a spike out of the box", Figures{}.ring({{0, 0}, {10, 0}, {10, 10}, {20, 20}, {10, 10}, {0, 10}}), {square}},
        {"a spike through the first point",
         Figures{}.ring({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}, {-7, -7}}), {square}},
        {"a spike before the first point",
         Figures{}.ring({{-7, -7}, {0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}),
         {{{0, 0}, {10, 0}, {10, 10}, {0, 10}}}},
        {"far out", Figures{}.square(kFar - 10, -kFar, 10), {{{kFar - 10, -kFar}, {kFar, -kFar}, {kFar, 10 - kFar},
                                                                {kFar - 10, 10 - kFar}}}},
        {"corners far out", Figures{}.ring({{-kFar, -kFar}, {kFar, -kFar}, {kFar, kFar}, {-kFar, kFar}}),
         {{{-kFar, -kFar}, {kFar, -kFar}, {kFar, kFar}, {-kFar, kFar}}}},
        {"a figure-eight", Figures{}.ring({{0, 0}, {10, 10}, {10, 0}, {0, 10}}), {{{0, 0}, {10, 10}, {10, 0}, {0, 10}}}},
        {"flat, then a square", Figures{}.ring({{0, 0}, {5, 5}, {9, 9}}).square(3, 4, 2),
         {{{3, 4}, {5, 4}, {5, 6}, {3, 6}}}},
    };
    for (const Row& row : rows) {
        for (const bool open : {false, true}) {
            Figures figures = row.figures;
            // Points after the last closed figure: no ring, but read.
            if (open) {
                figures.points.push_back({-40, 50});
                figures.types.push_back(lw::PT_MOVETO);
                figures.points.push_back({-30, 55});
                figures.types.push_back(lw::PT_LINETO);
            }
            const std::string what = row.what + (open ? ", an open figure after" : "");
            lw::RingSet rings;
            lw::ringsOf(figures.points, figures.types, rings);
            ASSERT_EQ(rings.rings.size(), row.want.size()) << what;
            for (std::size_t k = 0; k < row.want.size(); ++k) {
                const lw::RingView& r = rings.rings[k];
                const std::vector<POINT> got(r.points, r.points + r.count);
                EXPECT_EQ(got, row.want[k]) << what;
                EXPECT_EQ(r.points[r.count], r.points[0]) << what;
                lw::WideArea area = 0;
                std::int32_t left = got[0].x, top = got[0].y, right = got[0].x, bottom = got[0].y;
                for (std::size_t j = 0; j < got.size(); ++j) {
                    const POINT a = got[j], b = got[(j + 1) % got.size()];
                    area += lw::WideArea(a.x) * b.y - lw::WideArea(b.x) * a.y;
                    left = std::min(left, a.x);
                    top = std::min(top, a.y);
                    right = std::max(right, a.x);
                    bottom = std::max(bottom, a.y);
                }
                const lw::Extent& e = rings.extents[k];
                EXPECT_TRUE(e.area == area) << what;
                EXPECT_EQ(std::vector<std::int32_t>({e.left, e.top, e.right, e.bottom}),
                          std::vector<std::int32_t>({left, top, right, bottom}))
                    << what;
            }
            std::int32_t left = figures.points[0].x, top = figures.points[0].y, right = left, bottom = top;
            for (const POINT& p : figures.points) {
                left = std::min(left, p.x);
                top = std::min(top, p.y);
                right = std::max(right, p.x);
                bottom = std::max(bottom, p.y);
            }
            EXPECT_EQ(std::vector<std::int32_t>({rings.left, rings.top, rings.right, rings.bottom}),
                      std::vector<std::int32_t>({left, top, right, bottom}))
                << what;
        }
    }
}

} // namespace
