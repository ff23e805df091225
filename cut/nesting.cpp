#include "cut/nesting.hpp"

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

// Points ordered by x, then y: every point of a segment lies between its
// ends in this order. Kept as one unsigned key per point (x above y, each
// with its sign bit flipped), since the walks below ask for the order at
// every step and one comparison mispredicts less than two.
std::uint64_t orderKey(POINT p)
{
    return std::uint64_t(std::uint32_t(p.x) ^ 0x80000000u) << 32 | (std::uint32_t(p.y) ^ 0x80000000u);
}

// A run of a ring's edges whose points rise in that order: two edges of one
// chain meet only where they follow each other, so only edges of different
// chains need comparing, and only where the chains' spans in the order
// overlap. The chain reads the ring where it lies: its rising point j is
// base[j * step], and its rising edge j (points j and j + 1) is the ring's
// edge edge0 + j * step.
struct Chain {
    const POINT* base;
    const std::uint64_t* keys; // orderKey of each point, beside base
    std::int32_t step;
    std::uint32_t edges;
    std::uint32_t contour, count;
    std::int32_t edge0;
    std::int32_t left, top, right, bottom;

    POINT at(std::uint32_t j) const { return base[std::ptrdiff_t(j) * step]; }
    std::uint64_t key(std::uint32_t j) const { return keys[std::ptrdiff_t(j) * step]; }
    // The rising edge j as the ring runs, for the neighbours' fold.
    Edge edge(std::uint32_t j) const
    {
        const POINT a = at(j), b = at(j + 1);
        return step > 0 ? Edge{a, b, contour, std::uint32_t(edge0 + std::int32_t(j)), count}
                        : Edge{b, a, contour, std::uint32_t(edge0 - std::int32_t(j)), count};
    }
};

// The ring's runs in order; a run stops at the ring's last point, so the
// first and last chains may rise the same way (they are compared like any
// other two).
void addChains(const RingView& ring, const std::uint64_t* key, std::uint32_t contour, std::vector<Chain>& out)
{
    const POINT* p = ring.points;
    const std::uint32_t n = ring.count;
    for (std::uint32_t i = 0; i < n;) {
        const bool up = key[i] < key[i + 1];
        std::int32_t top = std::min(p[i].y, p[i + 1].y), bottom = std::max(p[i].y, p[i + 1].y);
        std::uint32_t end = i + 1;
        while (end < n && (key[end] < key[end + 1]) == up) {
            ++end;
            top = std::min(top, p[end].y);
            bottom = std::max(bottom, p[end].y);
        }
        const std::uint32_t length = end - i;
        if (up)
            out.push_back({p + i, key + i, 1, length, contour, n, std::int32_t(i), p[i].x, top, p[end].x, bottom});
        else
            out.push_back({p + end, key + end, -1, length, contour, n, std::int32_t(end - 1), p[end].x, top, p[i].x,
                           bottom});
        i = end;
    }
}

bool chainsMeet(const Chain& a, const Chain& b)
{
    const std::uint64_t b0 = b.key(0), bEnd = b.key(b.edges);
    // Only a's edges that reach b's span in the order can meet b: skip those
    // whose end lies before b's first point.
    std::uint32_t low = 1, high = a.edges + 1;
    while (low < high) {
        const std::uint32_t mid = low + (high - low) / 2;
        if (a.key(mid) < b0)
            low = mid + 1;
        else
            high = mid;
    }
    std::uint32_t k0 = 0;
    for (std::uint32_t j = low - 1; j < a.edges; ++j) {
        const std::uint64_t a1Key = a.key(j), a2Key = a.key(j + 1);
        if (bEnd < a1Key)
            break;
        const POINT a1 = a.at(j), a2 = a.at(j + 1);
        const std::int32_t lowA = std::min(a1.y, a2.y), highA = std::max(a1.y, a2.y);
        if (highA < b.top || lowA > b.bottom)
            continue;
        while (k0 < b.edges && b.key(k0 + 1) < a1Key)
            ++k0;
        for (std::uint32_t k = k0; k < b.edges; ++k) {
            if (a2Key < b.key(k))
                break;
            const POINT b1 = b.at(k), b2 = b.at(k + 1);
            if (std::max(b1.y, b2.y) < lowA || std::min(b1.y, b2.y) > highA)
                continue;
            if (meet(a.edge(j), b.edge(k)))
                return true;
        }
    }
    return false;
}

} // namespace

struct NestingScratch::Buffers {
    std::vector<Chain> chains;
    std::vector<std::uint32_t> order, open;
    std::vector<std::uint64_t> keys;
    std::vector<std::size_t> ringOrder, parent, shapeOf;
    std::vector<std::size_t> rank, byNear, near, holders;
    std::vector<int> inside;
    std::vector<std::uint8_t> bounds;
};

NestingScratch::NestingScratch() : buffers_(new Buffers, [](Buffers* p) { delete p; }) {}

bool edgesMeet(std::span<const RingView> rings, NestingScratch& scratch)
{
    NestingScratch::Buffers& s = scratch.buffers();
    std::vector<Chain>& chains = s.chains;
    chains.clear();
    std::vector<std::uint64_t>& keys = s.keys;
    std::size_t total = 0;
    for (const RingView& r : rings)
        total += r.count + 1;
    keys.resize(total);
    std::uint64_t* key = keys.data();
    for (std::uint32_t c = 0; c < rings.size(); ++c) {
        for (std::uint32_t k = 0; k <= rings[c].count; ++k)
            key[k] = orderKey(rings[c].points[k]);
        addChains(rings[c], key, c, chains);
        key += rings[c].count + 1;
    }
    std::vector<std::uint32_t>& order = s.order;
    order.resize(chains.size());
    for (std::uint32_t i = 0; i < order.size(); ++i)
        order[i] = i;
    // A sweep along the way the chains spread most (a line of text at any
    // angle has few open at once): each chain against those whose boxes it
    // touches.
    std::int32_t Chain::*low = &Chain::left;
    std::int32_t Chain::*high = &Chain::right;
    std::int32_t Chain::*side = &Chain::top;
    std::int32_t Chain::*far = &Chain::bottom;
    if (spreadAlongY(std::span<const Chain>(chains))) {
        std::swap(low, side);
        std::swap(high, far);
    }
    std::sort(order.begin(), order.end(),
              [&](std::uint32_t a, std::uint32_t b) { return chains[a].*low < chains[b].*low; });
    std::vector<std::uint32_t>& open = s.open;
    open.clear();
    for (std::uint32_t i : order) {
        const Chain& c = chains[i];
        std::erase_if(open, [&](std::uint32_t j) { return chains[j].*high < c.*low; });
        for (std::uint32_t j : open) {
            const Chain& d = chains[j];
            if (d.*side <= c.*far && c.*side <= d.*far && chainsMeet(d, c))
                return true;
        }
        open.push_back(i);
    }
    return false;
}

void parentsOf(std::span<const RingView> rings, std::span<const Extent> extents, std::span<const std::size_t> order,
               std::vector<std::size_t>& parent, NestingScratch& scratch, NestingWork* work)
{
    const std::size_t n = order.size();
    parent.assign(extents.size(), kNoParent);
    if (n == 0)
        return;
    NestingScratch::Buffers& s = scratch.buffers();
    std::vector<std::size_t>& rank = s.rank;
    rank.assign(extents.size(), 0);
    for (std::size_t k = 0; k < n; ++k)
        rank[order[k]] = k;
    // A sweep along the way the rings spread most (a line of text at any
    // angle): the boxes open at a ring's near side are those of a glyph or
    // two and any bar running along the line, whatever the line's length.
    Extent all = extents[order[0]];
    for (std::size_t i : order) {
        all.left = std::min(all.left, extents[i].left);
        all.top = std::min(all.top, extents[i].top);
        all.right = std::max(all.right, extents[i].right);
        all.bottom = std::max(all.bottom, extents[i].bottom);
    }
    const bool alongX = std::int64_t(all.right) - all.left >= std::int64_t(all.bottom) - all.top;
    const auto low = [&](std::size_t i) { return alongX ? extents[i].left : extents[i].top; };
    const auto high = [&](std::size_t i) { return alongX ? extents[i].right : extents[i].bottom; };
    const auto holds = [&](std::size_t outer, std::size_t inner) {
        const Extent& o = extents[outer];
        const Extent& e = extents[inner];
        return o.left <= e.left && e.right <= o.right && o.top <= e.top && e.bottom <= o.bottom;
    };
    std::vector<std::size_t>& byNear = s.byNear;
    byNear.assign(order.begin(), order.end());
    std::sort(byNear.begin(), byNear.end(), [&](std::size_t a, std::size_t b) { return low(a) < low(b); });
    std::vector<std::size_t>& open = s.near;
    std::vector<std::size_t>& holders = s.holders;
    open.clear();
    for (std::size_t at = 0; at < n;) {
        // Rings whose boxes start together may hold each other: all open
        // before any is looked up.
        std::size_t end = at;
        const std::int32_t from = low(byNear[at]);
        std::erase_if(open, [&](std::size_t j) { return high(j) < from; });
        while (end < n && low(byNear[end]) == from)
            open.push_back(byNear[end++]);
        for (; at < end; ++at) {
            const std::size_t i = byNear[at];
            if (work)
                work->boxPairs += open.size();
            holders.clear();
            for (std::size_t j : open)
                if (rank[j] < rank[i] && holds(j, i))
                    holders.push_back(j);
            // The smallest first, as the order has them: most rings inside
            // another go without walking the larger ring.
            std::sort(holders.begin(), holders.end(), [&](std::size_t a, std::size_t b) { return rank[a] > rank[b]; });
            const POINT first = rings[i].points[0];
            for (std::size_t j : holders)
                if (encloses(rings[j].points, rings[j].count, first)) {
                    parent[i] = j;
                    break;
                }
        }
    }
}

void nestedBoundaries(std::span<const RingView> rings, std::span<const Extent> extents, std::vector<Boundary>& out,
                      NestingScratch& scratch)
{
    const std::size_t n = rings.size();
    NestingScratch::Buffers& s = scratch.buffers();
    std::vector<std::size_t>& order = s.ringOrder;
    order.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        order[i] = i;
    const auto size = [&](std::size_t i) { return extents[i].area < 0 ? -extents[i].area : extents[i].area; };
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return size(a) > size(b); });

    // Larger contours first: the parent is the smallest one already seen
    // that holds a point of the contour (no edges meet, so any point will do).
    constexpr std::size_t kNone = kNoParent;
    std::vector<std::size_t>& parent = s.parent;
    std::vector<std::size_t>& shapeOf = s.shapeOf;
    std::vector<int>& inside = s.inside; // the winding just inside
    std::vector<std::uint8_t>& bounds = s.bounds; // whether the contour bounds the ink
    shapeOf.assign(n, kNone);
    inside.assign(n, 0);
    bounds.assign(n, 0);
    std::size_t shapeCount = 0;
    parentsOf(rings, extents, order, parent, scratch);
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t i = order[k];
        const int outside = parent[i] == kNone ? 0 : inside[parent[i]];
        inside[i] = outside + (extents[i].area < 0 ? 1 : -1);
        // The shape a contour inside this one belongs to.
        shapeOf[i] = parent[i] == kNone ? kNone : shapeOf[parent[i]];
        if ((outside == 0) == (inside[i] == 0))
            continue;
        bounds[i] = 1;
        if (inside[i] != 0)
            shapeOf[i] = shapeCount++;
    }
    // Shape by shape in the order they arose, each contour in the order of
    // size (an outer contour is larger than its holes, so it comes first).
    const std::size_t from = out.size();
    std::size_t bounding = 0;
    for (std::size_t i = 0; i < n; ++i)
        bounding += bounds[i];
    out.resize(from + bounding);
    std::vector<std::size_t>& slot = parent; // no longer needed: where each shape's next contour goes
    slot.assign(shapeCount + 1, 0);
    for (std::size_t i = 0; i < n; ++i)
        if (bounds[i])
            ++slot[shapeOf[i] + 1];
    for (std::size_t k = 1; k <= shapeCount; ++k)
        slot[k] += slot[k - 1];
    for (std::size_t i : order) {
        if (!bounds[i])
            continue;
        // Outer contours counter-clockwise with y up: negative area on the
        // device grid; holes the other way.
        const bool outer = inside[i] != 0;
        out[from + slot[shapeOf[i]]++] = {std::uint32_t(i), outer, outer != (extents[i].area < 0)};
    }
}

} // namespace lw
