#include "outline/cad_nesting.hpp"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace lw {
namespace {

struct Edge {
    POINT a, b;
    std::int32_t left, right, low, high;
    std::uint32_t contour, index, count; // which contour, which edge, of how many
};

// Coordinates stay within 2^29, so the products fit in 64 bits.
int turn(POINT a, POINT b, POINT c)
{
    const std::int64_t v = std::int64_t(b.x - a.x) * (c.y - a.y) - std::int64_t(b.y - a.y) * (c.x - a.x);
    return (v > 0) - (v < 0);
}

bool within(POINT a, POINT b, POINT p)
{
    return std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
           p.y <= std::max(a.y, b.y);
}

bool segmentsMeet(const Edge& e, const Edge& f)
{
    const int d1 = turn(e.a, e.b, f.a), d2 = turn(e.a, e.b, f.b);
    const int d3 = turn(f.a, f.b, e.a), d4 = turn(f.a, f.b, e.b);
    if (d1 * d2 < 0 && d3 * d4 < 0)
        return true;
    return (d1 == 0 && within(e.a, e.b, f.a)) || (d2 == 0 && within(e.a, e.b, f.b)) ||
           (d3 == 0 && within(f.a, f.b, e.a)) || (d4 == 0 && within(f.a, f.b, e.b));
}

// Neighbours share one point; they meet beyond it only when the second
// folds back along the first.
bool neighboursFold(const Edge& first, const Edge& second)
{
    if (turn(first.a, first.b, second.b) != 0)
        return false;
    const std::int64_t dot = std::int64_t(first.b.x - first.a.x) * (second.b.x - second.a.x) +
                             std::int64_t(first.b.y - first.a.y) * (second.b.y - second.a.y);
    return dot < 0;
}

} // namespace

bool edgesMeet(const std::vector<const Contour*>& contours)
{
    std::vector<Edge> edges;
    std::int64_t left = INT32_MAX, top = INT32_MAX, right = INT32_MIN, bottom = INT32_MIN;
    for (std::uint32_t c = 0; c < contours.size(); ++c) {
        const Contour& ring = *contours[c];
        const auto n = std::uint32_t(ring.size());
        for (std::uint32_t i = 0; i < n; ++i) {
            const POINT a = ring[i], b = ring[(i + 1) % n];
            edges.push_back({a, b, std::min(a.x, b.x), std::max(a.x, b.x), std::min(a.y, b.y), std::max(a.y, b.y),
                             c, i, n});
            left = std::min<std::int64_t>(left, edges.back().left);
            right = std::max<std::int64_t>(right, edges.back().right);
            top = std::min<std::int64_t>(top, edges.back().low);
            bottom = std::max<std::int64_t>(bottom, edges.back().high);
        }
    }
    if (edges.empty())
        return false;
    // Edges go into the cells of a grid their boxes cover, a few to a cell;
    // only edges that share a cell can meet.
    const double area = double(right - left + 1) * double(bottom - top + 1);
    // Cells a power of two wide, so finding one is a shift.
    const double side = std::sqrt(area / double(edges.size()) * 4);
    int shift = 0;
    while (shift < 40 && double(std::int64_t(1) << shift) < side)
        ++shift;
    const std::int64_t columns = ((right - left) >> shift) + 1, rows = ((bottom - top) >> shift) + 1;
    std::vector<std::uint32_t> start(std::size_t(columns * rows) + 1);
    const auto forCells = [&](const Edge& e, auto&& visit) {
        const std::int64_t x0 = (e.left - left) >> shift, x1 = (e.right - left) >> shift;
        const std::int64_t y1 = (e.high - top) >> shift;
        for (std::int64_t y = (e.low - top) >> shift; y <= y1; ++y)
            for (std::int64_t x = x0; x <= x1; ++x)
                visit(std::size_t(y * columns + x));
    };
    for (const Edge& e : edges)
        forCells(e, [&](std::size_t k) { ++start[k + 1]; });
    for (std::size_t k = 1; k < start.size(); ++k)
        start[k] += start[k - 1];
    std::vector<std::uint32_t> members(start.back());
    std::vector<std::uint32_t> filled(start.begin(), start.end() - 1);
    for (std::uint32_t i = 0; i < edges.size(); ++i)
        forCells(edges[i], [&](std::size_t k) { members[filled[k]++] = i; });

    for (std::size_t k = 0; k + 1 < start.size(); ++k) {
        for (std::uint32_t p = start[k]; p < start[k + 1]; ++p) {
            const Edge& e = edges[members[p]];
            for (std::uint32_t q = start[k]; q < p; ++q) {
                const Edge& f = edges[members[q]];
                if (f.high < e.low || e.high < f.low || f.right < e.left || e.right < f.left)
                    continue;
                if (e.contour == f.contour && e.count > 2) {
                    const bool fThenE = (f.index + 1) % e.count == e.index;
                    const bool eThenF = (e.index + 1) % e.count == f.index;
                    if (fThenE || eThenF) {
                        if (neighboursFold(fThenE ? f : e, fThenE ? e : f))
                            return true;
                        continue;
                    }
                }
                if (segmentsMeet(e, f))
                    return true;
            }
        }
    }
    return false;
}

std::vector<Shape> mergeNested(const std::vector<const Contour*>& contours)
{
    const std::size_t n = contours.size();
    std::vector<WideArea> area(n);
    std::vector<std::size_t> order(n);
    struct Box {
        std::int32_t left, top, right, bottom;
        bool holds(POINT p) const { return left <= p.x && p.x <= right && top <= p.y && p.y <= bottom; }
    };
    std::vector<Box> box(n);
    for (std::size_t i = 0; i < n; ++i) {
        const Contour& c = *contours[i];
        area[i] = twiceArea(c);
        order[i] = i;
        box[i] = {c[0].x, c[0].y, c[0].x, c[0].y};
        for (const POINT& p : c)
            box[i] = {std::min(box[i].left, p.x), std::min(box[i].top, p.y), std::max(box[i].right, p.x),
                      std::max(box[i].bottom, p.y)};
    }
    const auto size = [&](std::size_t i) { return area[i] < 0 ? -area[i] : area[i]; };
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return size(a) > size(b); });

    // Larger contours first: the parent is the smallest one already seen
    // that holds a point of the contour (no edges meet, so any point will do).
    constexpr std::size_t kNone = std::size_t(-1);
    std::vector<std::size_t> parent(n, kNone);
    std::vector<int> inside(n);   // the winding just inside
    std::vector<std::size_t> shapeOf(n, kNone);
    std::vector<Shape> shapes;
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t i = order[k];
        for (std::size_t m = k; m-- > 0;)
            if (box[order[m]].holds((*contours[i])[0]) && encloses(*contours[order[m]], (*contours[i])[0])) {
                parent[i] = order[m];
                break;
            }
        const int outside = parent[i] == kNone ? 0 : inside[parent[i]];
        inside[i] = outside + (area[i] < 0 ? 1 : -1);
        // The shape a contour inside this one belongs to.
        shapeOf[i] = parent[i] == kNone ? kNone : shapeOf[parent[i]];
        if ((outside == 0) == (inside[i] == 0))
            continue;
        Contour c = *contours[i];
        if (inside[i] != 0) {
            orient(c, Role::Outer);
            shapeOf[i] = shapes.size();
            shapes.push_back(Shape{std::move(c), {}});
        } else {
            orient(c, Role::Hole);
            shapes[shapeOf[i]].holes.push_back(std::move(c));
        }
    }
    return shapes;
}

} // namespace lw
