#include "cut/offset.hpp"

#include "cut/offset_trace.hpp"

// GCC 12 at -O3 sees through Boost.Geometry's round join into a point that
// an output parameter fills and calls it maybe uninitialised; it is not.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include "outline/geometry_shapes.hpp"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>
#include <numeric>

namespace lw {
namespace {

using namespace shapes;

template <class Ring>
void fill(Ring& ring, const Contour& c)
{
    for (const POINT& p : c)
        ring.push_back(BgPoint(p.x, p.y));
    ring.push_back(ring.front());
}

Contour onGrid(const auto& ring, Role role)
{
    Contour c;
    for (const BgPoint& p : ring)
        c.push_back(POINT{std::int32_t(std::lround(p.x())), std::int32_t(std::lround(p.y()))});
    removeRepeats(c);
    if (isUsable(c))
        orient(c, role);
    return c;
}

void add(const Shape& s, BgShapes& out)
{
    BgPolygon& polygon = out.emplace_back();
    fill(polygon.outer(), s.outer);
    for (const Contour& hole : s.holes)
        fill(polygon.inners().emplace_back(), hole);
    bg::correct(polygon);
}

// One shape offset alone where it does not trace: Boost's buffer of many
// shapes at once compares every piece with every other, so its cost grows
// with the square of the text.
void offsetAlone(const std::vector<Shape>& shapes, std::size_t k, double distance, int perCircle, BgShapes& out)
{
    const Shape& s = shapes[k];
    BgPolygon polygon;
    fill(polygon.outer(), s.outer);
    for (const Contour& hole : s.holes)
        fill(polygon.inners().emplace_back(), hole);
    bg::correct(polygon);
    // Without the rescaling, as the union below.
    bg::strategy::intersection::services::default_strategy<bg::cartesian_tag>::type meeting;
    bg::detail::buffer::buffer_inserter<BgPolygon>(
        polygon, bg::range::back_inserter(out), bg::strategy::buffer::distance_symmetric<double>(distance),
        bg::strategy::buffer::side_straight(), bg::strategy::buffer::join_round(perCircle),
        bg::strategy::buffer::end_round(perCircle), bg::strategy::buffer::point_circle(perCircle), meeting,
        bg::detail::no_rescale_policy());
}

// Which items meet, as a forest: each one's representative. A sweep along
// the longer side of all their boxes asks `meet` only of items whose boxes
// overlap, neighbours in a line of text.
template <class Meet>
std::vector<std::size_t> groupsOf(const std::vector<BgBox>& boxes, Meet meet)
{
    const std::size_t n = boxes.size();
    BgBox all;
    bg::assign_inverse(all);
    for (const BgBox& b : boxes)
        bg::expand(all, b);
    const bool alongX = all.max_corner().x() - all.min_corner().x() >= all.max_corner().y() - all.min_corner().y();
    const auto low = [&](std::size_t i) { return alongX ? boxes[i].min_corner().x() : boxes[i].min_corner().y(); };
    const auto high = [&](std::size_t i) { return alongX ? boxes[i].max_corner().x() : boxes[i].max_corner().y(); };

    std::vector<std::size_t> parent(n);
    std::iota(parent.begin(), parent.end(), std::size_t(0));
    const auto root = [&](std::size_t i) {
        while (parent[i] != i)
            i = parent[i] = parent[parent[i]];
        return i;
    };
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return low(a) < low(b); });
    std::vector<std::size_t> open;
    for (const std::size_t i : order) {
        std::erase_if(open, [&](std::size_t j) { return high(j) < low(i); });
        for (const std::size_t j : open)
            if (root(i) != root(j) && !bg::disjoint(boxes[i], boxes[j]) && meet(i, j))
                parent[root(i)] = root(j);
        open.push_back(i);
    }
    for (std::size_t i = 0; i < n; ++i)
        parent[i] = root(i);
    return parent;
}

std::vector<std::size_t> meetingGroups(const BgShapes& polygons)
{
    std::vector<BgBox> boxes;
    for (const BgPolygon& p : polygons)
        boxes.push_back(bg::return_envelope<BgBox>(p));
    return groupsOf(boxes, [&](std::size_t i, std::size_t j) { return bg::intersects(polygons[i], polygons[j]); });
}

// Shapes that may meet once grown by `reach`: those whose boxes, so grown,
// overlap. Each group is offset on its own, while its points are at hand.
std::vector<std::size_t> nearGroups(const std::vector<Shape>& shapes, double reach)
{
    std::vector<BgBox> boxes;
    for (const Shape& s : shapes) {
        const Extent e = extentOf(s.outer);
        boxes.emplace_back(BgPoint(e.left - reach, e.top - reach), BgPoint(e.right + reach, e.bottom + reach));
    }
    return groupsOf(boxes, [](std::size_t, std::size_t) { return true; });
}

// Boost.Geometry's union without the rescaling of points to integers that
// this release does by default and later ones have dropped: it took more of
// the time than the union itself.
void unite(const BgShapes& a, const BgShapes& b, BgShapes& out)
{
    using Strategy = bg::strategy::relate::services::default_strategy<BgShapes, BgShapes>::type;
    bg::dispatch::union_insert<BgShapes, BgShapes, BgPolygon>::apply(
        a, b, bg::detail::no_rescale_policy(), bg::detail::output_geometry_back_inserter(out), Strategy());
}

// The union of polygons, in pairs of neighbours and then pairs of those, so
// that each point takes part in a number of unions that grows with the log
// of the count rather than the count.
BgShapes unionOf(std::vector<BgShapes> parts)
{
    while (parts.size() > 1) {
        std::vector<BgShapes> next((parts.size() + 1) / 2);
        for (std::size_t k = 0; k + 1 < parts.size(); k += 2)
            unite(parts[k], parts[k + 1], next[k / 2]);
        if (parts.size() % 2)
            next.back() = std::move(parts.back());
        parts = std::move(next);
    }
    return parts.empty() ? BgShapes{} : std::move(parts.front());
}

// Shapes grown outward may reach into their neighbours: those that meet
// become one, the rest stay as they are, in the order of their first shape.
BgShapes merged(BgShapes polygons)
{
    const std::vector<std::size_t> group = meetingGroups(polygons);
    std::vector<std::vector<BgShapes>> members(polygons.size());
    for (std::size_t i = 0; i < polygons.size(); ++i)
        members[group[i]].push_back(BgShapes{std::move(polygons[i])});
    BgShapes out;
    for (std::size_t i = 0; i < members.size(); ++i) {
        if (members[i].empty())
            continue;
        if (members[i].size() == 1) {
            out.push_back(std::move(members[i].front().front()));
            continue;
        }
        for (BgPolygon& p : unionOf(std::move(members[i])))
            out.push_back(std::move(p));
    }
    return out;
}

} // namespace

std::vector<Shape> offsetShapes(const std::vector<Shape>& shapes, double distance, double tolerance)
{
    if (distance == 0 || shapes.empty())
        return shapes;
    const int n = pointsPerCircle(distance, tolerance);
    // Shapes that do not meet stay apart when they shrink; grown, only
    // those near each other can meet.
    std::vector<std::size_t> group(shapes.size());
    if (distance > 0)
        group = nearGroups(shapes, distance + tolerance + 1);
    else
        std::iota(group.begin(), group.end(), std::size_t(0));
    std::vector<std::vector<std::size_t>> members(shapes.size());
    for (std::size_t i = 0; i < shapes.size(); ++i)
        members[group[i]].push_back(i);

    std::vector<Shape> result;
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        if (members[i].empty())
            continue;
        // Shapes whose traced offsets cross nothing are done. Each is traced
        // once, alone: where they cross, those traces are what is united.
        std::vector<Shape> traced;
        std::vector<char> clean;
        // Where each member's traced shapes end in `traced`: a shape worn
        // away by an inward offset leaves none.
        std::vector<std::size_t> ends;
        for (const std::size_t k : members[i]) {
            clean.push_back(traceOffset(shapes, {k}, distance, n, traced));
            ends.push_back(traced.size());
        }
        const bool allClean = std::all_of(clean.begin(), clean.end(), [](char c) { return c != 0; });
        if (allClean && apart(traced)) {
            std::move(traced.begin(), traced.end(), std::back_inserter(result));
            continue;
        }
        BgShapes moved;
        for (std::size_t j = 0; j < members[i].size(); ++j)
            if (!clean[j])
                offsetAlone(shapes, members[i][j], distance, n, moved);
            else if (ends[j] > (j ? ends[j - 1] : 0))
                add(traced[ends[j] - 1], moved);
        if (members[i].size() > 1)
            moved = merged(std::move(moved));
        for (const BgPolygon& polygon : moved) {
            Shape shape{onGrid(polygon.outer(), Role::Outer), {}};
            if (!isUsable(shape.outer))
                continue;
            for (const auto& inner : polygon.inners())
                if (Contour c = onGrid(inner, Role::Hole); isUsable(c))
                    shape.holes.push_back(std::move(c));
            result.push_back(std::move(shape));
        }
    }
    return result;
}

} // namespace lw

#pragma GCC diagnostic pop
