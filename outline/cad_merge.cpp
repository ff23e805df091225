#include "outline/cad_merge.hpp"

#include <boost/polygon/polygon.hpp>

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
std::vector<BpShape> positiveRegions(const std::vector<Contour>& contours, bool reversed)
{
    BpSet set;
    std::vector<BpPoint> ring;
    for (const Contour& c : contours) {
        ring.clear();
        for (const POINT& p : c)
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

} // namespace

std::vector<Shape> mergeNonzero(const std::vector<Contour>& contours)
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

} // namespace lw
