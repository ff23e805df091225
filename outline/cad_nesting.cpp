#include "outline/cad_nesting.hpp"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace lw {
namespace {

struct Edge {
    POINT a, b;
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

// Whether two edges meet, neighbours in one contour only where they fold.
bool meet(const Edge& e, const Edge& f)
{
    if (e.contour == f.contour && e.count > 2) {
        const auto next = [n = e.count](std::uint32_t i) { return i + 1 == n ? 0 : i + 1; };
        const bool fThenE = next(f.index) == e.index;
        const bool eThenF = next(e.index) == f.index;
        if (fThenE || eThenF)
            return neighboursFold(fThenE ? f : e, fThenE ? e : f);
    }
    return segmentsMeet(e, f);
}

// Points ordered by x, then y. Every point of a segment lies between its
// ends in this order.
bool before(POINT a, POINT b) { return a.x < b.x || (a.x == b.x && a.y < b.y); }

// A run of a contour's edges whose points rise in that order: two edges of
// one chain meet only where they follow each other, so only edges of
// different chains need comparing, and only where the chains' spans in the
// order overlap. The points are stored rising; edge j joins points j and j + 1.
struct Chain {
    std::uint32_t first, edges; // into the points and edge numbers
    std::uint32_t contour, count;
    bool up; // whether the contour runs the way the points rise
    std::int32_t left, top, right, bottom;
};

struct Chains {
    std::vector<POINT> points;
    std::vector<std::uint32_t> edgeOf; // the contour's own number of each edge
    std::vector<Chain> chains;
    std::vector<std::uint8_t> rises; // room for one contour's edges at a time
};

void addChains(const Contour& ring, std::uint32_t contour, Chains& out)
{
    const auto n = std::uint32_t(ring.size());
    const auto wrap = [n](std::uint32_t i) { return i >= n ? i - n : i; };
    std::vector<std::uint8_t>& rises = out.rises;
    rises.resize(n);
    for (std::uint32_t i = 0; i + 1 < n; ++i)
        rises[i] = before(ring[i], ring[i + 1]);
    rises[n - 1] = before(ring[n - 1], ring[0]);
    // Start where the direction turns; a closed ring always turns.
    std::uint32_t start = 0;
    while (start < n && rises[start] == rises[start == 0 ? n - 1 : start - 1])
        ++start;
    if (start == n)
        start = 0;
    for (std::uint32_t done = 0; done < n;) {
        const std::uint32_t i = wrap(start + done);
        const bool up = rises[i];
        std::uint32_t length = 1;
        while (done + length < n && rises[wrap(i + length)] == up)
            ++length;
        Chain c{std::uint32_t(out.points.size()), length, contour, n, up, INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
        // Rising points from the contour's point `from`, forward or back.
        std::uint32_t k = up ? i : wrap(i + length);
        for (std::uint32_t j = 0; j <= length; ++j) {
            const POINT p = ring[k];
            out.points.push_back(p);
            c.top = std::min(c.top, p.y);
            c.bottom = std::max(c.bottom, p.y);
            if (up) {
                out.edgeOf.push_back(k);
                k = k + 1 == n ? 0 : k + 1;
            } else {
                k = k == 0 ? n - 1 : k - 1;
                out.edgeOf.push_back(k);
            }
        }
        c.left = out.points[c.first].x;
        c.right = out.points[c.first + length].x;
        out.chains.push_back(c);
        done += length;
    }
}

bool chainsMeet(const Chains& all, const Chain& a, const Chain& b)
{
    const POINT* pa = all.points.data() + a.first;
    const POINT* pb = all.points.data() + b.first;
    const std::uint32_t* ea = all.edgeOf.data() + a.first;
    const std::uint32_t* eb = all.edgeOf.data() + b.first;
    // Only a's edges that reach b's span in the order can meet b.
    std::uint32_t j = std::uint32_t(
        std::partition_point(pa + 1, pa + a.edges + 1, [&](POINT p) { return before(p, pb[0]); }) - (pa + 1));
    std::uint32_t k0 = 0;
    for (; j < a.edges && !before(pb[b.edges], pa[j]); ++j) {
        const std::int32_t low = std::min(pa[j].y, pa[j + 1].y), high = std::max(pa[j].y, pa[j + 1].y);
        if (high < b.top || low > b.bottom)
            continue;
        while (k0 < b.edges && before(pb[k0 + 1], pa[j]))
            ++k0;
        for (std::uint32_t k = k0; k < b.edges && !before(pa[j + 1], pb[k]); ++k) {
            if (std::max(pb[k].y, pb[k + 1].y) < low || std::min(pb[k].y, pb[k + 1].y) > high)
                continue;
            // Edges as the contour runs, for the neighbours' fold.
            const Edge e = a.up ? Edge{pa[j], pa[j + 1], a.contour, ea[j], a.count}
                                : Edge{pa[j + 1], pa[j], a.contour, ea[j], a.count};
            const Edge f = b.up ? Edge{pb[k], pb[k + 1], b.contour, eb[k], b.count}
                                : Edge{pb[k + 1], pb[k], b.contour, eb[k], b.count};
            if (meet(e, f))
                return true;
        }
    }
    return false;
}

} // namespace

bool edgesMeet(const std::vector<const Contour*>& contours)
{
    Chains all;
    std::size_t points = 0;
    for (const Contour* c : contours)
        points += c->size();
    // A chain's last point is the next one's first: some room for those.
    all.points.reserve(points + points / 4);
    all.edgeOf.reserve(points + points / 4);
    for (std::uint32_t c = 0; c < contours.size(); ++c)
        addChains(*contours[c], c, all);
    std::vector<std::uint32_t> order(all.chains.size());
    for (std::uint32_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](std::uint32_t a, std::uint32_t b) { return all.chains[a].left < all.chains[b].left; });
    // A sweep from the left: each chain against those whose boxes it touches.
    std::vector<std::uint32_t> open;
    for (std::uint32_t i : order) {
        const Chain& c = all.chains[i];
        std::erase_if(open, [&](std::uint32_t j) { return all.chains[j].right < c.left; });
        for (std::uint32_t j : open) {
            const Chain& d = all.chains[j];
            if (d.top <= c.bottom && c.top <= d.bottom && chainsMeet(all, d, c))
                return true;
        }
        open.push_back(i);
    }
    return false;
}

std::vector<Shape> mergeNested(const std::vector<Contour*>& contours, const std::vector<Extent>& extents)
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
        const Extent& e = extents[i];
        area[i] = e.area;
        order[i] = i;
        box[i] = {e.left, e.top, e.right, e.bottom};
    }
    const auto size = [&](std::size_t i) { return area[i] < 0 ? -area[i] : area[i]; };
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return size(a) > size(b); });

    // Larger contours first: the parent is the smallest one already seen
    // that holds a point of the contour (no edges meet, so any point will do).
    constexpr std::size_t kNone = std::size_t(-1);
    std::vector<std::size_t> parent(n, kNone);
    std::vector<int> inside(n);   // the winding just inside
    std::vector<std::size_t> shapeOf(n, kNone);
    std::vector<bool> bounds(n); // whether the contour bounds the ink
    std::size_t shapeCount = 0;
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
        bounds[i] = true;
        if (inside[i] != 0)
            shapeOf[i] = shapeCount++;
    }
    // The contours move only now: those that come later read the earlier ones.
    std::vector<Shape> shapes(shapeCount);
    for (std::size_t i : order) {
        if (!bounds[i])
            continue;
        Contour& c = *contours[i];
        if (inside[i] != 0) {
            orient(c, Role::Outer, area[i]);
            shapes[shapeOf[i]].outer = std::move(c);
        } else {
            orient(c, Role::Hole, area[i]);
            shapes[shapeOf[i]].holes.push_back(std::move(c));
        }
    }
    return shapes;
}

} // namespace lw
