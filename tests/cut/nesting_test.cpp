// Whether edges meet, against the plain check of every pair of edges: the
// merge takes the path without clipping only when no two edges meet, so a
// pair missed here would leave overlapping contours in a drawing.
#include "cut/nesting.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace {

using lw::Contour;
using lw::POINT;

int turn(POINT a, POINT b, POINT c)
{
    const std::int64_t v = std::int64_t(b.x - a.x) * (c.y - a.y) - std::int64_t(b.y - a.y) * (c.x - a.x);
    return (v > 0) - (v < 0);
}

bool onSegment(POINT a, POINT b, POINT p)
{
    return turn(a, b, p) == 0 && std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) &&
           std::min(a.y, b.y) <= p.y && p.y <= std::max(a.y, b.y);
}

bool segmentsMeet(POINT a, POINT b, POINT c, POINT d)
{
    if (turn(a, b, c) * turn(a, b, d) < 0 && turn(c, d, a) * turn(c, d, b) < 0)
        return true;
    return onSegment(a, b, c) || onSegment(a, b, d) || onSegment(c, d, a) || onSegment(c, d, b);
}

// Every pair of edges; neighbours in a contour meet only where the second
// runs back along the first (collinear, pointing the other way).
bool everyPairMeets(const std::vector<Contour>& contours)
{
    struct E {
        POINT a, b;
        std::size_t contour, index, count;
    };
    std::vector<E> edges;
    for (std::size_t c = 0; c < contours.size(); ++c)
        for (std::size_t i = 0, n = contours[c].size(); i < n; ++i)
            edges.push_back({contours[c][i], contours[c][(i + 1) % n], c, i, n});
    for (std::size_t i = 0; i < edges.size(); ++i)
        for (std::size_t j = 0; j < i; ++j) {
            const E& e = edges[i];
            const E& f = edges[j];
            if (e.contour == f.contour && ((e.index + 1) % e.count == f.index || (f.index + 1) % e.count == e.index)) {
                const E& first = (e.index + 1) % e.count == f.index ? e : f;
                const E& second = &first == &e ? f : e;
                const std::int64_t dot = std::int64_t(first.b.x - first.a.x) * (second.b.x - second.a.x) +
                                         std::int64_t(first.b.y - first.a.y) * (second.b.y - second.a.y);
                if (turn(first.a, first.b, second.b) == 0 && dot < 0)
                    return true;
                continue;
            }
            if (segmentsMeet(e.a, e.b, f.a, f.b))
                return true;
        }
    return false;
}

// The contours side by side in one buffer, each followed by its first point.
bool edgesMeet(const std::vector<Contour>& contours)
{
    std::vector<POINT> buffer;
    for (const Contour& c : contours) {
        buffer.insert(buffer.end(), c.begin(), c.end());
        buffer.push_back(c[0]);
    }
    std::vector<lw::RingView> rings;
    std::size_t at = 0;
    for (const Contour& c : contours) {
        rings.push_back({buffer.data() + at, std::uint32_t(c.size())});
        at += c.size() + 1;
    }
    lw::NestingScratch scratch;
    return lw::edgesMeet(rings, scratch);
}

TEST(CadNesting, EdgesMeetAsEveryPairTells)
{
    struct Case {
        const char* name;
        std::vector<Contour> contours;
        bool meet;
    } cases[] = {
        {"a square", {{{0, 0}, {0, 10}, {10, 10}, {10, 0}}}, false},
        {"a ring", {{{0, 0}, {0, 10}, {10, 10}, {10, 0}}, {{2, 2}, {8, 2}, {8, 8}, {2, 8}}}, false},
        {"crossing squares", {{{0, 0}, {0, 10}, {10, 10}, {10, 0}}, {{5, 5}, {5, 15}, {15, 15}, {15, 5}}}, true},
        {"sharing a corner", {{{0, 0}, {0, 10}, {10, 10}, {10, 0}}, {{10, 10}, {10, 20}, {20, 20}, {20, 10}}}, true},
        {"a corner on an edge", {{{0, 0}, {0, 10}, {10, 10}, {10, 0}}, {{10, 5}, {15, 0}, {15, 9}}}, true},
        {"sharing part of a vertical edge", {{{0, 0}, {0, 10}, {10, 10}, {10, 0}}, {{10, 2}, {10, 8}, {20, 5}}}, true},
        {"a vertical edge one apart", {{{0, 0}, {0, 10}, {10, 10}, {10, 0}}, {{11, 2}, {11, 8}, {20, 5}}}, false},
        {"a bow tie", {{{0, 0}, {10, 10}, {10, 0}, {0, 10}}}, true},
        {"touching itself", {{{0, 0}, {0, 10}, {5, 5}, {10, 10}, {10, 0}, {5, 5}}}, true},
        {"folding back on a vertical", {{{0, 0}, {0, 10}, {0, 5}, {5, 5}}}, true},
        {"folding back on a slope", {{{0, 0}, {6, 3}, {2, 1}, {0, 5}}}, true},
        {"a sharp turn that does not fold", {{{0, 0}, {10, 1}, {0, 2}}}, false},
        {"a triangle", {{{0, 0}, {5, 9}, {9, 0}}}, false},
        {"a comb", {{{0, 0}, {0, 9}, {1, 9}, {1, 1}, {2, 1}, {2, 9}, {3, 9}, {3, 1}, {4, 1}, {4, 9}, {5, 9}, {5, 0}}},
         false},
        {"a comb with a tooth on its neighbour",
         {{{0, 0}, {0, 9}, {1, 9}, {1, 1}, {2, 1}, {2, 9}, {3, 9}, {3, 1}, {2, 1}, {4, 9}, {5, 9}, {5, 0}}},
         true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(everyPairMeets(c.contours), c.meet) << c.name << " (the reference)";
        EXPECT_EQ(edgesMeet(c.contours), c.meet) << c.name;
        // Wherever each ring starts: a run of edges that passes the ring's
        // first point is read as two.
        for (std::size_t k = 1; k < c.contours[0].size(); ++k) {
            std::vector<Contour> turned = c.contours;
            for (Contour& ring : turned)
                std::rotate(ring.begin(), ring.begin() + std::ptrdiff_t(k % ring.size()), ring.end());
            EXPECT_EQ(edgesMeet(turned), c.meet) << c.name << ", starting at point " << k;
        }
    }
}

TEST(CadNesting, EdgesMeetAsEveryPairTellsOnRandomRings)
{
    // Rings on a small grid, so points often coincide, edges overlap and
    // run vertical; a few rings each, some apart, some crowding one another,
    // half of them star-shaped so that many groups do not meet.
    std::mt19937 random(2026);
    int meeting = 0;
    for (int round = 0; round < 3000; ++round) {
        const int span = 2 + int(random() % 12);
        std::vector<Contour> contours(1 + random() % 3);
        for (Contour& c : contours) {
            const int dx = int(random() % 3) * span, dy = int(random() % 2) * span;
            const std::size_t n = 3 + random() % 7;
            if (random() % 2) {
                // Star-shaped around the middle of its cell: mostly simple.
                for (std::size_t k = 0; k < n; ++k) {
                    const double angle = 6.2831853 * double(k) / double(n);
                    const double r = span * (0.25 + 0.25 * double(random() % 100) / 100);
                    const POINT p{dx + span / 2 + int(std::lround(r * std::cos(angle))),
                                  dy + span / 2 + int(std::lround(r * std::sin(angle)))};
                    if (c.empty() || (c.back() != p && c.front() != p))
                        c.push_back(p);
                }
                if (c.size() < 3)
                    c = {{dx, dy}, {dx, dy + 1}, {dx + 1, dy}};
                continue;
            }
            while (c.size() < n) {
                const POINT p{dx + int(random() % span), dy + int(random() % span)};
                if (c.empty() || (c.back() != p && (c.size() + 1 < n || c.front() != p)))
                    c.push_back(p);
            }
        }
        const bool want = everyPairMeets(contours);
        meeting += want;
        ASSERT_EQ(edgesMeet(contours), want) << "round " << round;
        // Moved across both axes: the walks order points by x, then y, and
        // that order must hold through the signs.
        std::vector<Contour> moved = contours;
        for (Contour& c : moved)
            for (POINT& p : c)
                p = POINT{p.x - 2 * span, p.y - span};
        ASSERT_EQ(edgesMeet(moved), want) << "round " << round << ", moved";
        // Turned over the diagonal: taller than wide, so swept the other way.
        std::vector<Contour> turned = contours;
        for (Contour& c : turned)
            for (POINT& p : c)
                p = POINT{p.y, p.x};
        ASSERT_EQ(edgesMeet(turned), want) << "round " << round << ", turned";
    }
    // Both answers come up often enough to mean something.
    EXPECT_GT(meeting, 300);
    EXPECT_LT(meeting, 2700);
}

// Which rings bound the ink once nested, with roles and turns: a ring that
// only lies within another's box (a notch, a corner) is no hole of it, and
// a ring wound the same way inside another adds nothing.
TEST(CadNesting, NestedBoundariesFollowTheWindingNotTheBoxes)
{
    const Contour square{{0, 0}, {0, 100}, {100, 100}, {100, 0}};        // negative area: counter-clockwise, y up
    const Contour squareBack{{0, 0}, {100, 0}, {100, 100}, {0, 100}};    // the other way round
    const Contour inner{{20, 20}, {20, 80}, {80, 80}, {80, 20}};         // as `square` turns
    const Contour innerBack{{20, 20}, {80, 20}, {80, 80}, {20, 80}};
    const Contour island{{40, 40}, {40, 60}, {60, 60}, {60, 40}};
    // An L whose notch holds a small square: within the L's box, not in it.
    const Contour ell{{0, 0}, {0, 100}, {100, 100}, {100, 60}, {40, 60}, {40, 0}};
    const Contour inNotch{{60, 10}, {60, 40}, {90, 40}, {90, 10}};
    struct Want {
        std::uint32_t ring;
        bool outer, reversed;
    };
    struct Case {
        const char* name;
        std::vector<Contour> rings;
        std::vector<Want> want;
    } cases[] = {
        {"one square", {square}, {{0, true, false}}},
        {"one square the other way", {squareBack}, {{0, true, true}}},
        {"a square with a hole", {square, innerBack}, {{0, true, false}, {1, false, false}}},
        {"a hole with an island", {square, innerBack, island}, {{0, true, false}, {1, false, false}, {2, true, false}}},
        {"the same way inside: winding two", {square, inner}, {{0, true, false}}},
        {"the inner ring first", {inner, squareBack}, {{1, true, true}, {0, false, true}}},
        {"a square in the notch of an L", {ell, inNotch}, {{0, true, false}, {1, true, false}}},
    };
    for (const Case& c : cases) {
        ASSERT_FALSE(edgesMeet(c.rings)) << c.name;
        std::vector<POINT> buffer;
        std::vector<lw::RingView> views;
        std::vector<lw::Extent> extents;
        for (const Contour& r : c.rings) {
            buffer.insert(buffer.end(), r.begin(), r.end());
            buffer.push_back(r[0]);
            extents.push_back(lw::extentOf(r));
        }
        std::size_t at = 0;
        for (const Contour& r : c.rings) {
            views.push_back({buffer.data() + at, std::uint32_t(r.size())});
            at += r.size() + 1;
        }
        std::vector<lw::Boundary> out;
        lw::NestingScratch scratch;
        lw::nestedBoundaries(views, extents, out, scratch);
        ASSERT_EQ(out.size(), c.want.size()) << c.name;
        for (std::size_t k = 0; k < out.size(); ++k) {
            EXPECT_EQ(out[k].ring, c.want[k].ring) << c.name << ", boundary " << k;
            EXPECT_EQ(out[k].outer, c.want[k].outer) << c.name << ", boundary " << k;
            EXPECT_EQ(out[k].reversed, c.want[k].reversed) << c.name << ", boundary " << k;
        }
    }
}

// Each ring's parent against the plain definition (the smallest ring around
// its first point, found by a ray cast over every ring), and the search's
// work against the figures': a line of glyphs ten times as long, in a row, a
// column or on a slant, with a bar along it, costs at most about ten times
// the comparisons of boxes (every ring against every larger one would be a
// hundred).
TEST(CadNesting, ParentsAreTheSmallestRingAroundAndTheSearchGrowsWithTheLine)
{
    // A glyph: a square with a hole and an island in it, and an L with a
    // square in its notch (within the L's box, not inside it).
    const auto glyph = [](std::int32_t x, std::int32_t y) {
        const auto at = [&](Contour c) {
            for (POINT& p : c)
                p = POINT{p.x + x, p.y + y};
            return c;
        };
        return std::vector<Contour>{at({{0, 0}, {0, 100}, {100, 100}, {100, 0}}),
                                    at({{20, 20}, {80, 20}, {80, 80}, {20, 80}}),
                                    at({{40, 40}, {40, 60}, {60, 60}, {60, 40}}),
                                    at({{110, 0}, {110, 100}, {210, 100}, {210, 60}, {150, 60}, {150, 0}}),
                                    at({{170, 10}, {170, 40}, {200, 40}, {200, 10}})};
    };
    const auto encloses = [](const Contour& c, POINT p) {
        bool in = false;
        for (std::size_t i = 0, j = c.size() - 1; i < c.size(); j = i++)
            if ((c[i].y > p.y) != (c[j].y > p.y) &&
                double(p.x) < double(c[j].x - c[i].x) * (p.y - c[i].y) / double(c[j].y - c[i].y) + c[i].x)
                in = !in;
        return in;
    };
    struct Layout {
        const char* name;
        std::int32_t dx, dy;
    } layouts[] = {{"a row", 220, 0}, {"a column", 0, 120}, {"a slant", 220, 120}, {"a steep slant", 30, 120}};
    for (const Layout& layout : layouts) {
        std::uint64_t work[2] = {};
        const std::size_t glyphs[2] = {200, 2000};
        for (int length = 0; length < 2; ++length) {
            const std::int32_t n = std::int32_t(glyphs[length]);
            std::vector<Contour> rings;
            for (std::int32_t g = 0; g < n; ++g)
                for (Contour& c : glyph(g * layout.dx, g * layout.dy))
                    rings.push_back(std::move(c));
            // A bar along the line beside the glyphs, as an underline runs.
            const std::int32_t endX = (n - 1) * layout.dx + 210, endY = (n - 1) * layout.dy + 100;
            if (layout.dx >= layout.dy)
                rings.push_back({{0, endY + 10}, {endX, endY + 10}, {endX, endY + 20}, {0, endY + 20}});
            else
                rings.push_back({{-20, 0}, {-20, endY}, {-10, endY}, {-10, 0}});
            std::vector<POINT> buffer;
            std::vector<lw::Extent> extents;
            for (const Contour& r : rings) {
                buffer.insert(buffer.end(), r.begin(), r.end());
                buffer.push_back(r[0]);
                extents.push_back(lw::extentOf(r));
            }
            std::vector<lw::RingView> views;
            std::size_t at = 0;
            for (const Contour& r : rings) {
                views.push_back({buffer.data() + at, std::uint32_t(r.size())});
                at += r.size() + 1;
            }
            const auto size = [&](std::size_t i) { return extents[i].area < 0 ? -extents[i].area : extents[i].area; };
            std::vector<std::size_t> order(rings.size());
            for (std::size_t i = 0; i < order.size(); ++i)
                order[i] = i;
            std::stable_sort(order.begin(), order.end(),
                             [&](std::size_t a, std::size_t b) { return size(a) > size(b); });
            std::vector<std::size_t> parent;
            lw::NestingWork counted;
            lw::NestingScratch scratch;
            lw::parentsOf(views, extents, order, parent, scratch, &counted);
            work[length] = counted.boxPairs;
            ASSERT_EQ(parent.size(), rings.size()) << layout.name;
            if (length == 1)
                continue;
            for (std::size_t i = 0; i < rings.size(); ++i) {
                std::size_t want = lw::kNoParent;
                for (std::size_t j = 0; j < rings.size(); ++j)
                    if (size(j) > size(i) && encloses(rings[j], rings[i][0]) &&
                        (want == lw::kNoParent || size(j) < size(want)))
                        want = j;
                ASSERT_EQ(parent[i], want) << layout.name << ", ring " << i;
            }
        }
        EXPECT_GT(work[0], 0u) << layout.name;
        EXPECT_LE(work[1], 11 * work[0]) << layout.name << ": " << work[0] << " then " << work[1] << " pairs of boxes";
    }
}

} // namespace
