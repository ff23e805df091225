// Cut-ready outlines on hand-made captures: cleaning, roles without merging,
// the nonzero merge, offsets. Real fonts are checked against shapely in
// tests/cli/cut_ready_test.py.
#include "cut/cad_outline.hpp"
#include "cut/contours.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <span>
#include <functional>
#include <string>
#include <vector>

namespace {

using lw::Contour;

// A capture of the given figures, each closed, in device pixels.
lw::CapturedOutline captureOf(const std::vector<Contour>& figures)
{
    lw::CapturedOutline o;
    o.pathPoints.clear();
    o.pathTypes.clear();
    for (const Contour& f : figures)
        for (std::size_t k = 0; k < f.size(); ++k) {
            o.pathPoints.push_back(f[k]);
            o.pathTypes.push_back(k == 0 ? lw::PT_MOVETO : k + 1 == f.size() ? 3 : lw::PT_LINETO);
        }
    o.pointCount = std::int32_t(o.pathPoints.size());
    o.pathPoints.push_back({});
    o.pathTypes.push_back(0);
    return o;
}

// Each contour of the result back in device pixels, with its area (twice,
// positive for outer contours: counter-clockwise with y up).
struct Result {
    std::vector<Contour> contours;
    std::vector<double> areas;
};
Result run(const std::vector<Contour>& figures, lw::CadOptions options)
{
    const lw::CadOutline cad = lw::cadOutline(captureOf(figures), options);
    Result r;
    for (const lw::Figure& f : lw::figures(cad.outline)) {
        EXPECT_TRUE(f.closed);
        Contour c(f.points.begin(), f.points.end());
        r.areas.push_back(-double(lw::twiceArea(c)) / 2 / cad.gridScale / cad.gridScale);
        for (lw::POINT& p : c)
            p = {p.x / cad.gridScale, p.y / cad.gridScale};
        r.contours.push_back(c);
    }
    return r;
}

Contour square(int x, int y, int size, bool asGiven)
{
    Contour c{{x, y}, {x, y + size}, {x + size, y + size}, {x + size, y}}; // device y runs down
    if (!asGiven)
        std::reverse(c.begin(), c.end());
    return c;
}

TEST(CadContours, RepeatsSpikesAndTheClosingRepeatGo)
{
    struct Case {
        const char* name;
        Contour in, out;
    } cases[] = {
        {"repeats", {{0, 0}, {0, 0}, {0, 5}, {5, 5}, {5, 5}, {5, 0}, {0, 0}}, {{0, 0}, {0, 5}, {5, 5}, {5, 0}}},
        {"spike", {{0, 0}, {0, 5}, {9, 9}, {0, 5}, {5, 5}, {5, 0}}, {{0, 0}, {0, 5}, {5, 5}, {5, 0}}},
        {"spike at the seam", {{9, 9}, {0, 0}, {0, 5}, {5, 5}, {5, 0}, {0, 0}}, {{0, 0}, {0, 5}, {5, 5}, {5, 0}}},
        {"there and back", {{0, 0}, {5, 5}, {0, 0}}, {{0, 0}}},
    };
    for (Case& c : cases) {
        lw::removeRepeats(c.in);
        EXPECT_EQ(c.in, c.out) << c.name;
    }
    EXPECT_FALSE(lw::isUsable({{0, 0}, {5, 5}, {10, 10}})); // no area
}

TEST(CadContours, RingsAreTheCleanedFiguresSideBySideEachClosedByItsFirstPoint)
{
    // Each case: figures as captured (the last one perhaps open), and how far
    // the points reach from the origin.
    struct Case {
        const char* name;
        std::vector<Contour> figures;
        bool lastOpen;
        std::int64_t reach;
    } cases[] = {
        {"nothing", {}, false, 0},
        {"one square", {square(2, 3, 5, true)}, false, 8},
        {"repeats, spikes, the seam",
         {{{0, 0}, {0, 0}, {0, 5}, {9, 9}, {0, 5}, {5, 5}, {5, 0}, {0, 0}},
          {{9, 9}, {0, 0}, {0, 5}, {5, 5}, {5, 0}, {0, 0}}},
         false,
         9},
        {"unusable figures between usable ones",
         {{{0, 0}, {5, 5}, {0, 0}}, square(0, 0, 4, false), {{1, 1}, {2, 2}, {3, 3}}, {{7, 7}, {7, 8}},
          square(-6, -2, 3, true)},
         false, 8},
        {"an open figure reaches further", {square(0, 0, 4, true), {{0, 0}, {-40, 3}, {5, 5}}}, true, 40},
        {"a spike's tip reaches further", {{{0, 0}, {0, 5}, {0, -70}, {0, 5}, {5, 5}, {5, 0}}}, false, 70},
    };
    for (const Case& c : cases) {
        lw::CapturedOutline o = captureOf(c.figures);
        if (c.lastOpen)
            o.pathTypes[std::size_t(o.pointCount - 1)] = lw::PT_LINETO;
        std::vector<Contour> want;
        for (std::size_t k = 0; k < c.figures.size() - (c.lastOpen ? 1 : 0); ++k) {
            Contour f = c.figures[k];
            lw::removeRepeats(f);
            if (lw::isUsable(f))
                want.push_back(f);
        }
        // Into a buffer of their own, and in the capture's: with room for
        // the closing copies, and without it (then as ringsOf puts them).
        const struct Route {
            const char* name;
            bool inPlace, room;
        } routes[] = {{"copied", false, true}, {"in place", true, true}, {"in place, no room", true, false}};
        for (const Route& route : routes) {
            lw::RingSet set;
            set.points.assign(3, lw::POINT{99, 99}); // left from an earlier drawing
            set.rings.push_back({});
            const std::span<const std::uint8_t> types = std::span(o.pathTypes).first(std::size_t(o.pointCount));
            std::vector<lw::POINT> own = o.pathPoints;
            if (route.room)
                own.reserve(own.size() + c.figures.size());
            else
                own.shrink_to_fit();
            const bool roomAfterAll = own.capacity() >= std::size_t(o.pointCount) + c.figures.size() - c.lastOpen;
            if (route.inPlace)
                lw::ringsInPlace(own, types, set);
            else
                lw::ringsOf(std::span(o.pathPoints).first(std::size_t(o.pointCount)), types, set);
            if (route.inPlace) {
                EXPECT_EQ(own.empty(), roomAfterAll) << c.name << ", " << route.name;
            }
            ASSERT_EQ(set.rings.size(), want.size()) << c.name << ", " << route.name;
            ASSERT_EQ(set.extents.size(), want.size()) << c.name << ", " << route.name;
            for (std::size_t k = 0; k < want.size(); ++k) {
                const lw::RingView& r = set.rings[k];
                EXPECT_EQ(Contour(r.points, r.points + r.count), want[k])
                    << c.name << ", " << route.name << ", ring " << k;
                EXPECT_EQ(r.points[r.count], r.points[0]) << c.name << ", " << route.name << ", ring " << k;
                const lw::Extent e = lw::extentOf(want[k]);
                EXPECT_TRUE(set.extents[k].area == e.area && set.extents[k].left == e.left &&
                            set.extents[k].right == e.right && set.extents[k].top == e.top &&
                            set.extents[k].bottom == e.bottom)
                    << c.name << ", " << route.name << ", ring " << k;
            }
            EXPECT_EQ(set.reach, c.reach) << c.name << ", " << route.name;
        }
    }
}

TEST(CadContours, AreasAreExactToTheEdgeOfTheIntegers)
{
    // extentOf takes a cheaper sum where the points allow it; twiceArea never does.
    constexpr int kBig = 1 << 30;
    struct Case {
        const char* name;
        Contour ring;
    } cases[] = {
        {"small", square(-3, 4, 7, true)},
        {"just inside the cheap range", square(kBig - 9, -kBig + 1, 8, false)},
        {"just outside it", square(kBig - 4, 0, 8, true)},
        {"at the ends of the integers",
         {{INT32_MIN, INT32_MIN}, {INT32_MIN, INT32_MAX}, {INT32_MAX, INT32_MAX}, {INT32_MAX, 0}}},
        {"a sliver far out", {{INT32_MAX, INT32_MAX - 1}, {INT32_MAX - 1, INT32_MAX}, {INT32_MAX, INT32_MAX}}},
    };
    for (const Case& c : cases) {
        const lw::Extent e = lw::extentOf(c.ring);
        EXPECT_TRUE(e.area == lw::twiceArea(c.ring)) << c.name;
        EXPECT_TRUE(e.area != 0) << c.name;
    }
}

TEST(CadGeometry, UnmergedFiguresStayOneEachCleanAndOriented)
{
    // 回 in the font's own turning (clockwise with y up for outer contours),
    // a zero-area figure, and a figure with a closing repeat.
    const Result r = run({square(0, 0, 100, false), square(10, 10, 80, true), square(30, 30, 40, false),
                          square(40, 40, 20, true), {{200, 0}, {200, 5}, {200, 9}},
                          {{300, 0}, {300, 10}, {310, 10}, {300, 0}}},
                         {.merge = false});
    ASSERT_EQ(r.contours.size(), 5u);
    EXPECT_EQ(r.areas, (std::vector<double>{10000, -6400, 1600, -400, 50}));
    EXPECT_EQ(r.contours[4].size(), 3u);
}

TEST(CadGeometry, MergeJoinsOverlapsByTheNonzeroRule)
{
    struct Case {
        const char* name;
        std::vector<Contour> figures;
        std::vector<double> areas; // outer contours positive, holes negative
    } cases[] = {
        {"two squares crossing", {square(0, 0, 10, true), square(5, 5, 10, true)}, {175}},
        {"either turning", {square(0, 0, 10, false), square(5, 5, 10, false)}, {175}},
        // The bar covers most of the hole: ink where it winds, 2 px of hole left.
        {"a square across a ring", {square(0, 0, 30, false), square(10, 10, 10, true), square(-5, 12, 40, false)},
         {1960, -20}},
        {"a hole kept", {square(0, 0, 30, false), square(10, 10, 10, true)}, {900, -100}},
        {"apart", {square(0, 0, 10, true), square(20, 0, 10, true)}, {100, 100}},
        {"opposite turnings meet", {square(0, 0, 10, true), square(10, 0, 10, false)}, {200}},
    };
    for (const Case& c : cases) {
        Result r = run(c.figures, {});
        std::sort(r.areas.begin(), r.areas.end(), std::greater<>());
        EXPECT_EQ(r.areas, c.areas) << c.name;
    }
}

TEST(CadGeometry, OffsetMovesOuterOutAndHolesIn)
{
    // A 100 px square with a 20 px hole: 5 px out grows the outer contour by a
    // rounded border and closes nothing; 11 px closes the hole.
    const std::vector<Contour> ring{square(0, 0, 100, true), square(40, 40, 20, false)};
    const Result out = run(ring, {.offsetPixels = 5});
    ASSERT_EQ(out.areas.size(), 2u);
    // The round corners' chords lie within a quarter pixel inside the arc.
    EXPECT_NEAR(out.areas[0], 100 * 100 + 4 * 100 * 5 + 3.14159 * 25, 0.25 * 2 * 3.14159 * 5);
    EXPECT_NEAR(out.areas[1], -10 * 10, 0.5);
    EXPECT_EQ(run(ring, {.offsetPixels = 11}).areas.size(), 1u);
    EXPECT_NEAR(run(ring, {.offsetPixels = -5}).areas[0], 90 * 90, 0.5);
    EXPECT_TRUE(run(ring, {.offsetPixels = -60}).areas.empty());
}

// Whether merged or not, an offset moves a hole the other way from its
// outer contour: a square hole of side s keeps square corners and becomes
// s - 2d wide, its outer contour gains a border with round corners (or
// loses one with square corners). Areas from the geometry, not the code.
TEST(CadGeometry, OffsetMovesHolesAgainstTheirOuterContourMergedOrNot)
{
    const std::vector<Contour> ring{square(0, 0, 100, true), square(40, 40, 20, false)};
    const double pi = 3.14159265358979;
    for (const bool merge : {true, false})
        for (const double d : {5.0, -5.0, 3.5}) {
            SCOPED_TRACE(std::string(merge ? "merged" : "unmerged") + ", offset " + std::to_string(d));
            Result r = run(ring, {.merge = merge, .offsetPixels = d});
            std::sort(r.areas.begin(), r.areas.end(), std::greater<>());
            ASSERT_EQ(r.areas.size(), 2u);
            const double outer = d > 0 ? 100 * 100 + 4 * 100 * d + pi * d * d : (100 + 2 * d) * (100 + 2 * d);
            const double hole = d > 0 ? (20 - 2 * d) * (20 - 2 * d) : 20 * 20 - 4 * 20 * d + pi * d * d;
            // Chords within a quarter pixel of the arcs, points on the grid.
            EXPECT_NEAR(r.areas[0], outer, 0.25 * 2 * pi * std::fabs(d) + 0.5);
            EXPECT_NEAR(r.areas[1], -hole, 0.25 * 2 * pi * std::fabs(d) + 0.5);
        }
}

// Shapes grown into each other become one, with the lens where their
// round corners meet; shapes that stay apart stay as they are.
TEST(CadGeometry, OffsetJoinsShapesThatGrowTogether)
{
    const double pi = 3.14159265358979;
    const auto grown = [&](double side, double d) { return side * side + 4 * side * d + pi * d * d; };
    const auto lens = [](double r, double apart) {
        return 2 * r * r * std::acos(apart / (2 * r)) - apart / 2 * std::sqrt(4 * r * r - apart * apart);
    };
    struct Case {
        const char* name;
        double gap, d;
        std::vector<double> areas;
    } cases[] = {
        {"apart", 10, 4, {grown(30, 4), grown(30, 4)}},
        // Overlap: a strip 30 high and 2d - gap wide, and the lens at either end outside it.
        {"grown together", 10, 6, {2 * grown(30, 6) - 30 * 2 - lens(6, 10)}},
        {"shrunk apart", 10, -4, {22 * 22, 22 * 22}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int right = 30 + int(c.gap);
        Result r = run({square(0, 0, 30, true), square(right, 0, 30, true), square(2 * right + 200, 0, 30, true)},
                       {.offsetPixels = c.d});
        std::sort(r.areas.begin(), r.areas.end(), std::greater<>());
        ASSERT_EQ(r.areas.size(), c.areas.size() + 1);
        r.areas.erase(r.areas.begin() + long(r.areas.size() - 1)); // the third, far away: checked above
        for (std::size_t k = 0; k < c.areas.size(); ++k)
            EXPECT_NEAR(r.areas[k], c.areas[k], 0.25 * 2 * 2 * 3.14159 * std::fabs(c.d) + 1);
    }
}

TEST(CadGeometry, AnEmptyCaptureGivesNothing)
{
    EXPECT_EQ(run({}, {}).contours.size(), 0u);
    EXPECT_EQ(run({}, {.offsetPixels = 3}).contours.size(), 0u);
}

// A workspace only lends buffers: a drawing made in one that has drawn
// larger, smaller, merged and unmerged captures before, in either order, is
// the drawing made in a fresh one.
TEST(CadGeometry, AWorkspaceLentBeforeChangesNoDrawing)
{
    std::vector<Contour> many;
    for (int k = 0; k < 60; ++k)
        many.push_back(square(k * 7, (k % 3) * 4, 12, k % 2 == 0));
    const struct Case {
        const char* name;
        std::vector<Contour> figures;
        lw::CadOptions options;
    } cases[] = {
        {"many crossing, merged", many, {}},
        {"a ring, unmerged", {square(0, 0, 30, false), square(10, 10, 10, true)}, {.merge = false}},
        {"a figure-eight, unmerged", {{{0, 0}, {10, 10}, {10, 0}, {0, 10}}}, {.merge = false}},
        {"two apart, offset", {square(0, 0, 10, true), square(40, 0, 10, true)}, {.offsetPixels = 2}},
        {"many, unmerged, offset in", many, {.merge = false, .offsetPixels = -1}},
        {"nothing", {}, {}},
        {"one square, merged", {square(5, 5, 10, true)}, {}},
        {"many, a stencil", many, {.stencilPixels = 1}},
    };
    const auto same = [](const lw::CadOutline& a, const lw::CadOutline& b) {
        return a.gridScale == b.gridScale && a.outline.pointCount == b.outline.pointCount &&
               a.outline.pathPoints == b.outline.pathPoints && a.outline.pathTypes == b.outline.pathTypes &&
               a.bridges.size() == b.bridges.size() && a.unheld.size() == b.unheld.size();
    };
    std::vector<lw::CadOutline> fresh;
    for (const Case& c : cases)
        fresh.push_back(lw::cadOutline(captureOf(c.figures), c.options));
    lw::CutWorkspace work;
    for (int round = 0; round < 2; ++round)
        for (std::size_t i = 0; i < std::size(cases); ++i) {
            const std::size_t k = round == 0 ? i : std::size(cases) - 1 - i;
            EXPECT_TRUE(same(lw::cadOutline(captureOf(cases[k].figures), cases[k].options, work), fresh[k]))
                << cases[k].name << (round == 0 ? ", forwards" : ", backwards");
        }
}

TEST(CadGeometry, ACaptureLetGoGivesTheSameDrawing)
{
    std::vector<Contour> many, apart;
    for (int k = 0; k < 60; ++k)
        many.push_back(square(k * 7, (k % 3) * 4, 12, k % 2 == 0));
    for (int k = 0; k < 20; ++k)
        apart.push_back(square(k * 20, 0, 10 + k % 3, k % 5 != 0));
    const struct Case {
        const char* name;
        std::vector<Contour> figures;
        lw::CadOptions options;
        bool kept; // whether the capture is left as it was
    } cases[] = {
        {"many crossing, merged", many, {}, false},
        {"a figure-eight, unmerged", {{{0, 0}, {10, 10}, {10, 0}, {0, 10}}}, {.merge = false}, false},
        {"two apart, offset", {square(0, 0, 10, true), square(40, 0, 10, true)}, {.offsetPixels = 2}, false},
        {"curves asked, no path", many, {.curves = true}, false},
        {"nothing", {}, {}, false},
        {"many, a stencil", many, {.stencilPixels = 1}, true},
        // The capture's buffer then holds the rings and after them the
        // outline: pieces that land where others still lie, reversed ones
        // over themselves, an outline longer than the rings.
        {"a hole before its outer contour", {square(10, 10, 10, true), square(0, 0, 30, false)}, {}, false},
        {"the same, unmerged", {square(10, 10, 10, true), square(0, 0, 30, false)}, {.merge = false}, false},
        {"apart, each reversed", apart, {}, false},
        {"apart, unmerged", apart, {.merge = false}, false},
        {"a plus: more points merged than captured",
         {{{0, 4}, {0, 6}, {10, 6}, {10, 4}}, {{4, 0}, {4, 10}, {6, 10}, {6, 0}}},
         {},
         false},
        {"repeats, spikes and figures of no ink",
         {{{0, 0}, {0, 0}, {0, 5}, {9, 9}, {0, 5}, {5, 5}, {5, 0}, {0, 0}}, {{1, 1}, {2, 2}, {3, 3}},
          square(20, 0, 5, false), {{7, 7}, {7, 8}}},
         {},
         false},
    };
    // The capture's buffer as tight as a copy leaves it, with the room of
    // the rings' closing points only, and with room to spare.
    const struct Room {
        const char* name;
        int extra; // slots beyond the capture's, -1: none at all
    } rooms[] = {{"no room", -1}, {"room for the rings", 0}, {"room to spare", 64}};
    for (const Case& c : cases)
        for (const Room& room : rooms) {
            const lw::CapturedOutline before = captureOf(c.figures);
            const lw::CadOutline want = lw::cadOutline(before, c.options);
            lw::CapturedOutline given = before;
            if (room.extra < 0)
                given.pathPoints.shrink_to_fit();
            else
                given.pathPoints.reserve(given.pathPoints.size() + c.figures.size() + std::size_t(room.extra));
            lw::CutWorkspace work;
            const lw::CadOutline got = lw::cadOutline(std::move(given), c.options, work);
            const std::string name = std::string(c.name) + ", " + room.name;
            EXPECT_EQ(got.gridScale, want.gridScale) << name;
            EXPECT_EQ(got.outline.pointCount, want.outline.pointCount) << name;
            EXPECT_EQ(got.outline.pathPoints, want.outline.pathPoints) << name;
            EXPECT_EQ(got.outline.pathTypes, want.outline.pathTypes) << name;
            EXPECT_EQ(got.bridges.size(), want.bridges.size()) << name;
            EXPECT_EQ(std::memcmp(&given.logFont, &before.logFont, sizeof before.logFont), 0) << name;
            if (c.kept) {
                EXPECT_EQ(given.pathPoints, before.pathPoints) << name;
                EXPECT_EQ(given.pathTypes, before.pathTypes) << name;
            } else {
                // Empty as a capture of nothing is: the one closing slot.
                EXPECT_EQ(given.pointCount, 0) << name;
                EXPECT_EQ(given.pathPoints.size(), 1u) << name;
                EXPECT_EQ(given.pathTypes.size(), 1u) << name;
            }
            // The workspace draws the next capture as a fresh one does.
            const lw::CapturedOutline next = captureOf(many);
            const lw::CadOutline again = lw::cadOutline(next, {}, work);
            EXPECT_EQ(again.outline.pathPoints, lw::cadOutline(next, {}).outline.pathPoints) << name;
        }
}

} // namespace
