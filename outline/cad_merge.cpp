#include "outline/cad_merge.hpp"

#include "outline/cad_nesting.hpp"

#include <boost/polygon/polygon.hpp>

#include <algorithm>
#include <numeric>

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

void appendShapes(const std::vector<BpShape>& from, std::vector<Shape>& to)
{
    for (const BpShape& s : from) {
        Shape shape{toContour(s.begin(), s.end(), Role::Outer), {}};
        if (!isUsable(shape.outer))
            continue;
        for (auto hole = s.begin_holes(); hole != s.end_holes(); ++hole)
            if (Contour c = toContour(hole->begin(), hole->end(), Role::Hole); isUsable(c))
                shape.holes.push_back(std::move(c));
        to.push_back(std::move(shape));
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

std::vector<Shape> clip(const std::vector<const Contour*>& contours)
{
    // Nonzero is positive or negative winding. Fonts wind one way, but the
    // two conventions meet where a fallback face draws some letters.
    std::vector<BpShape> positive = positiveRegions(contours, false);
    std::vector<BpShape> negative = positiveRegions(contours, true);
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

// Contours whose boxes overlap, directly or through others: no winding
// reaches from one group into another. Each group with its contours' extents.
struct Group {
    std::vector<Contour*> contours;
    std::vector<Extent> extents;
};

std::vector<Group> groupsOf(std::vector<Contour>& contours)
{
    const std::size_t n = contours.size();
    std::vector<Extent> box(n);
    for (std::size_t i = 0; i < n; ++i)
        box[i] = extentOf(contours[i]);
    std::vector<std::size_t> root(n), order(n);
    std::iota(root.begin(), root.end(), 0);
    std::iota(order.begin(), order.end(), 0);
    const auto find = [&](std::size_t i) {
        while (root[i] != i)
            i = root[i] = root[root[i]];
        return i;
    };
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return box[a].left < box[b].left; });
    std::vector<std::size_t> open;
    for (std::size_t i : order) {
        std::erase_if(open, [&](std::size_t j) { return box[j].right < box[i].left; });
        for (std::size_t j : open)
            if (box[j].top <= box[i].bottom && box[i].top <= box[j].bottom)
                root[find(i)] = find(j);
        open.push_back(i);
    }
    std::vector<Group> groups;
    std::vector<std::size_t> groupOf(n, n);
    for (std::size_t i = 0; i < n; ++i) {
        std::size_t& g = groupOf[find(i)];
        if (g == n) {
            g = groups.size();
            groups.emplace_back();
        }
        groups[g].contours.push_back(&contours[i]);
        groups[g].extents.push_back(box[i]);
    }
    return groups;
}

} // namespace

std::vector<Shape> mergeNonzero(std::vector<Contour>&& contours)
{
    std::vector<Shape> shapes;
    for (const Group& group : groupsOf(contours)) {
        const std::vector<const Contour*> readOnly(group.contours.begin(), group.contours.end());
        std::vector<Shape> part = edgesMeet(readOnly) ? clip(readOnly) : mergeNested(group.contours, group.extents);
        std::move(part.begin(), part.end(), std::back_inserter(shapes));
    }
    return shapes;
}

} // namespace lw
