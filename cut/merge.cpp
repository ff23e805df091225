#include "cut/merge.hpp"

#include "cut/boost_polygon.hpp"
#include "cut/nesting.hpp"

#include <algorithm>
#include <numeric>
#include <unordered_map>

namespace lw {
namespace {

namespace bp = boost::polygon;
using BpPoint = bp::point_data<std::int32_t>;
using BpShape = bp::polygon_with_holes_data<std::int32_t>;
using BpSet = bp::polygon_set_data<std::int32_t>;

Contour toContour(auto first, auto last, Role role)
{
    Contour c;
    for (auto it = first; it != last; ++it)
        c.push_back(POINT{it->x(), it->y()});
    removeRepeats(c);
    if (isUsable(c))
        orient(c, role);
    return c;
}

// Whether the contour passes through some point twice.
bool touchesItself(const Contour& c, std::vector<POINT>& sorted)
{
    sorted.assign(c.begin(), c.end());
    const auto below = [](POINT a, POINT b) { return a.x < b.x || (a.x == b.x && a.y < b.y); };
    std::sort(sorted.begin(), sorted.end(), below);
    return std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end();
}

// The contour cut where it touches itself into loops that do not, each
// running as the contour ran, appended to `out`.
void splitWhereTouching(const Contour& c, std::vector<Contour>& out)
{
    Contour path;
    // Where each point of the path lies in it (the path never repeats a
    // point): a long contour would otherwise be searched at every point.
    std::unordered_map<std::uint64_t, std::size_t> at;
    const auto keyOf = [](POINT p) { return std::uint64_t(std::uint32_t(p.x)) << 32 | std::uint32_t(p.y); };
    for (const POINT& p : c) {
        const auto found = at.find(keyOf(p));
        if (found == at.end()) {
            at.emplace(keyOf(p), path.size());
            path.push_back(p);
            continue;
        }
        // Back at a point passed before: the way since then is a loop.
        const auto again = path.begin() + std::ptrdiff_t(found->second);
        Contour loop(again, path.end());
        removeRepeats(loop);
        if (isUsable(loop))
            out.push_back(std::move(loop));
        for (auto it = again + 1; it != path.end(); ++it)
            at.erase(keyOf(*it));
        path.erase(again + 1, path.end());
    }
    removeRepeats(path);
    if (isUsable(path))
        out.push_back(std::move(path));
}

// The shape as shapes whose contours are simple: a contour that touches
// itself at a point (which some readers refuse) is cut there into loops,
// each an outer contour or a hole as it turns, and every hole goes to the
// smallest outer contour around it.
void appendSimple(Shape shape, std::vector<Shape>& to, std::vector<POINT>& sorted)
{
    bool touching = touchesItself(shape.outer, sorted);
    for (const Contour& h : shape.holes)
        touching = touching || touchesItself(h, sorted);
    if (!touching) {
        to.push_back(std::move(shape));
        return;
    }
    std::vector<Contour> loops;
    splitWhereTouching(shape.outer, loops);
    for (const Contour& h : shape.holes)
        splitWhereTouching(h, loops);
    std::vector<Shape> made;
    std::vector<Contour> holes;
    for (Contour& loop : loops) {
        if (twiceArea(loop) < 0)
            made.push_back(Shape{std::move(loop), {}});
        else
            holes.push_back(std::move(loop));
    }
    const auto size = [](const Contour& c) {
        const WideArea a = twiceArea(c);
        return a < 0 ? -a : a;
    };
    const auto holds = [](const Extent& a, const Extent& b) {
        return a.left <= b.left && a.top <= b.top && a.right >= b.right && a.bottom >= b.bottom;
    };
    std::vector<Extent> boxes;
    for (const Shape& s : made)
        boxes.push_back(extentOf(s.outer));
    for (Contour& h : holes) {
        // A hole meets its outer contour at points at most: most of its
        // points lie strictly inside. Failing that (a hole of a few points,
        // most of them where it touches), the smallest outer contour whose
        // box holds it; a hole is never lost.
        Shape* owner = nullptr;
        Shape* byBox = nullptr;
        const Extent box = extentOf(h);
        for (std::size_t k = 0; k < made.size(); ++k) {
            Shape& s = made[k];
            // No point outside an outer contour's box lies inside it.
            const Extent& o = boxes[k];
            if (o.right < box.left || box.right < o.left || o.bottom < box.top || box.bottom < o.top)
                continue;
            std::size_t inside = 0;
            for (const POINT& p : h)
                inside += encloses(s.outer, p);
            if (2 * inside > h.size() && (!owner || size(s.outer) < size(owner->outer)))
                owner = &s;
            if (holds(o, box) && (!byBox || size(s.outer) < size(byBox->outer)))
                byBox = &s;
        }
        if (Shape* to = owner ? owner : byBox ? byBox : made.empty() ? nullptr : &made.front())
            to->holes.push_back(std::move(h));
    }
    for (Shape& s : made)
        to.push_back(std::move(s));
}

void appendShapes(const std::vector<BpShape>& from, std::vector<Shape>& to)
{
    std::vector<POINT> sorted;
    for (const BpShape& s : from) {
        Shape shape{toContour(s.begin(), s.end(), Role::Outer), {}};
        if (!isUsable(shape.outer))
            continue;
        for (auto hole = s.begin_holes(); hole != s.end_holes(); ++hole)
            if (Contour c = toContour(hole->begin(), hole->end(), Role::Hole); isUsable(c))
                shape.holes.push_back(std::move(c));
        appendSimple(std::move(shape), to, sorted);
    }
}

// Boost.Polygon keeps the regions of positive winding; each contour goes in
// with its own direction, so the counts are the font's winding numbers.
std::vector<BpShape> positiveRegions(const std::vector<const Contour*>& contours, bool reversed)
{
    BpSet set;
    std::vector<BpPoint> ring;
    for (const Contour* c : contours) {
        ring.clear();
        for (const POINT& p : *c)
            ring.emplace_back(p.x, p.y);
        if (reversed)
            set.insert_vertex_sequence(ring.rbegin(), ring.rend(), bp::COUNTERCLOCKWISE, false);
        else
            set.insert_vertex_sequence(ring.begin(), ring.end(), bp::COUNTERCLOCKWISE, false);
    }
    std::vector<BpShape> shapes;
    set.get(shapes);
    return shapes;
}

// Which signs of winding the contours can make: each contour that never
// touches itself winds one way (by its area's sign) around every point it
// encloses, so where all of them are such and run one way, no point winds
// the other way and that pass of the clipper would find nothing.
struct Windings {
    bool positive = true, negative = true;
};

std::vector<Shape> clip(const std::vector<const Contour*>& contours, Windings windings = {})
{
    // Nonzero is positive or negative winding. Fonts wind one way, but the
    // two conventions meet where a fallback face draws some letters.
    std::vector<BpShape> positive = windings.positive ? positiveRegions(contours, false) : std::vector<BpShape>{};
    std::vector<BpShape> negative = windings.negative ? positiveRegions(contours, true) : std::vector<BpShape>{};
    if (!positive.empty() && !negative.empty()) {
        // Regions of either sign may share an edge: one more pass joins them.
        BpSet both;
        for (const auto* part : {&positive, &negative})
            for (const BpShape& s : *part)
                both.insert(s);
        positive.clear();
        both.get(positive);
        negative.clear();
    }
    std::vector<Shape> shapes;
    appendShapes(positive, shapes);
    appendShapes(negative, shapes);
    return shapes;
}

// The pieces of shapes: each outer contour, then its holes.
void appendPieces(std::span<const Shape> shapes, std::vector<Piece>& to)
{
    for (const Shape& s : shapes) {
        to.push_back({s.outer.data(), std::uint32_t(s.outer.size()), 1, false, true});
        for (const Contour& hole : s.holes)
            to.push_back({hole.data(), std::uint32_t(hole.size()), 1, false, false});
    }
}

// Rings whose boxes overlap, directly or through others: no winding
// reaches from one group into another. Groups in the order of their first
// ring, each ring's number in `members` from groupStart[g] on, rising.
// The rest is room kept from one call to the next.
struct Groups {
    std::vector<std::uint32_t> members, groupStart;
    std::vector<std::size_t> root, order, open;
    std::vector<std::uint32_t> group, next;
};

void groupsOf(const std::vector<Extent>& box, Groups& g)
{
    const std::size_t n = box.size();
    std::vector<std::size_t>& root = g.root;
    std::vector<std::size_t>& order = g.order;
    root.resize(n);
    order.resize(n);
    std::iota(root.begin(), root.end(), 0);
    std::iota(order.begin(), order.end(), 0);
    const auto find = [&](std::size_t i) {
        while (root[i] != i)
            i = root[i] = root[root[i]];
        return i;
    };
    // Swept along the way the rings spread most: a line of text at any
    // angle then has a glyph or two open at once, not all it holds. The
    // groups are the same either way.
    std::int32_t Extent::*low = &Extent::left;
    std::int32_t Extent::*high = &Extent::right;
    std::int32_t Extent::*side = &Extent::top;
    std::int32_t Extent::*far = &Extent::bottom;
    if (spreadAlongY(std::span<const Extent>(box))) {
        std::swap(low, side);
        std::swap(high, far);
    }
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return box[a].*low < box[b].*low; });
    std::vector<std::size_t>& open = g.open;
    open.clear();
    for (std::size_t i : order) {
        std::erase_if(open, [&](std::size_t j) { return box[j].*high < box[i].*low; });
        for (std::size_t j : open)
            if (box[j].*side <= box[i].*far && box[i].*side <= box[j].*far)
                root[find(i)] = find(j);
        open.push_back(i);
    }
    // Number the groups by their first ring, then place each ring by a count.
    std::vector<std::uint32_t>& group = g.group;
    group.assign(n, std::uint32_t(n));
    std::uint32_t groups = 0;
    for (std::size_t i = 0; i < n; ++i) {
        std::uint32_t& mine = group[find(i)];
        if (mine == n)
            mine = groups++;
        order[i] = mine;
    }
    g.groupStart.assign(groups + 1, 0);
    for (std::size_t i = 0; i < n; ++i)
        ++g.groupStart[order[i] + 1];
    for (std::uint32_t k = 1; k <= groups; ++k)
        g.groupStart[k] += g.groupStart[k - 1];
    g.members.resize(n);
    g.next.assign(g.groupStart.begin(), g.groupStart.end() - 1);
    for (std::size_t i = 0; i < n; ++i)
        g.members[g.next[order[i]]++] = std::uint32_t(i);
}

} // namespace

std::vector<Contour> lobesOf(const RingView& ring, int scale)
{
    Contour c(ring.count);
    for (std::uint32_t k = 0; k < ring.count; ++k)
        c[k] = POINT{ring.points[k].x * scale, ring.points[k].y * scale};
    const std::vector<const Contour*> one{&c};
    std::vector<Contour> lobes;
    // Where the ring winds positively it runs the way a positive twiceArea
    // does; a hole in such a lobe runs the other way.
    for (const bool negative : {false, true}) {
        std::vector<Shape> shapes;
        appendShapes(positiveRegions(one, negative), shapes);
        for (Shape& s : shapes) {
            orient(s.outer, negative ? Role::Outer : Role::Hole);
            lobes.push_back(std::move(s.outer));
            for (Contour& h : s.holes) {
                orient(h, negative ? Role::Hole : Role::Outer);
                lobes.push_back(std::move(h));
            }
        }
    }
    return lobes;
}

Merged mergeNonzero(const RingSet& rings, int scale, NestingScratch& scratch)
{
    auto known = std::make_unique<KnownGroups>();
    Merged merged = mergeNonzero(rings, scale, scratch, *known);
    merged.ownKnown = std::move(known);
    return merged;
}

Merged mergeNonzero(const RingSet& rings, int scale, NestingScratch& scratch, KnownGroups& known)
{
    known.startDrawing();
    Merged merged;
    merged.pieces.reserve(rings.rings.size());
    Groups groups;
    groupsOf(rings.extents, groups);
    std::vector<RingView> views;
    std::vector<Extent> extents;
    std::vector<Boundary> boundaries;
    std::vector<Contour> onGrid;
    merged.groups.reserve(groups.groupStart.size());
    for (std::size_t g = 0; g + 1 < groups.groupStart.size(); ++g) {
        merged.groups.push_back(
            {rings.firsts[groups.members[groups.groupStart[g]]], std::uint32_t(merged.pieces.size())});
        views.clear();
        extents.clear();
        for (std::uint32_t k = groups.groupStart[g]; k < groups.groupStart[g + 1]; ++k) {
            views.push_back(rings.rings[groups.members[k]]);
            extents.push_back(rings.extents[groups.members[k]]);
        }
        bool meet = false;
        std::span<const Boundary> bounding;
        const KnownGroup* kept = known.find(views, extents);
        if (kept) {
            meet = kept->meet;
            bounding = known.boundaries(*kept);
        } else {
            meet = edgesMeet(views, scratch);
            boundaries.clear();
            if (!meet)
                nestedBoundaries(views, extents, boundaries, scratch);
            kept = known.keep(views, extents, meet, boundaries);
            bounding = boundaries;
        }
        if (!meet) {
            for (const Boundary& b : bounding)
                merged.pieces.push_back({views[b.ring].points, views[b.ring].count, scale, b.reversed, b.outer});
            continue;
        }
        // The clipper's contours for these rings where they lie, if kept.
        const POINT at = views.front().points[0];
        if (const std::vector<Shape>* shapes = kept ? known.clipped(*kept, scale, at) : nullptr) {
            appendPieces(*shapes, merged.pieces);
            continue;
        }
        // The clipper's first pass takes the rings as they run, and there a
        // ring of positive twiceArea winds positively.
        Windings windings;
        bool allSimple = true;
        bool anyNegativeArea = false, anyPositiveArea = false;
        for (std::uint32_t k = groups.groupStart[g]; k < groups.groupStart[g + 1]; ++k) {
            const WideArea area = rings.extents[groups.members[k]].area;
            anyNegativeArea = anyNegativeArea || area <= 0;
            anyPositiveArea = anyPositiveArea || area >= 0;
        }
        if (anyNegativeArea != anyPositiveArea) {
            for (const RingView& v : views)
                if (edgesMeet(std::span(&v, 1), scratch)) {
                    allSimple = false;
                    break;
                }
            if (allSimple)
                windings = {.positive = anyPositiveArea, .negative = anyNegativeArea};
        }
        onGrid.resize(views.size());
        std::vector<const Contour*> contours;
        for (std::size_t k = 0; k < views.size(); ++k) {
            onGrid[k].resize(views[k].count);
            for (std::uint32_t j = 0; j < views[k].count; ++j)
                onGrid[k][j] = POINT{views[k].points[j].x * scale, views[k].points[j].y * scale};
            contours.push_back(&onGrid[k]);
        }
        std::vector<Shape> shapes = clip(contours, windings);
        if (kept) {
            appendPieces(known.keepClipped(*kept, scale, at, std::move(shapes)), merged.pieces);
            continue;
        }
        // The pieces point into the contours' own buffers, which stay where
        // they are when `clipped` grows (a Shape moves, its contours' points
        // do not).
        const std::size_t from = merged.clipped.size();
        for (Shape& shape : shapes)
            merged.clipped.push_back(std::move(shape));
        appendPieces(std::span(merged.clipped).subspan(from), merged.pieces);
    }
    return merged;
}

std::vector<Shape> cutAway(const std::vector<Shape>& shapes, const std::vector<Contour>& cuts)
{
    using namespace bp::operators;
    std::vector<const Contour*> ink, away;
    for (const Shape& s : shapes) {
        ink.push_back(&s.outer);
        for (const Contour& h : s.holes)
            ink.push_back(&h);
    }
    for (const Contour& c : cuts)
        away.push_back(&c);
    // Each set by its own winding, whichever way its contours run.
    BpSet kept, removed;
    for (const BpShape& s : positiveRegions(ink, false))
        kept.insert(s);
    for (const BpShape& s : positiveRegions(ink, true))
        kept.insert(s);
    for (const BpShape& s : positiveRegions(away, false))
        removed.insert(s);
    for (const BpShape& s : positiveRegions(away, true))
        removed.insert(s);
    kept -= removed;
    std::vector<BpShape> left;
    kept.get(left);
    std::vector<Shape> out;
    appendShapes(left, out);
    return out;
}

} // namespace lw
