#include "outline/cad_offset.hpp"

// GCC 12 at -O3 sees through Boost.Geometry's round join into a point that
// an output parameter fills and calls it maybe uninitialised; it is not.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <boost/geometry.hpp>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lw {
namespace {

namespace bg = boost::geometry;
using BgPoint = bg::model::d2::point_xy<double>;
using BgPolygon = bg::model::polygon<BgPoint>;
using BgShapes = bg::model::multi_polygon<BgPolygon>;

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

// Points on a whole circle for chords within the tolerance of the arc.
int pointsPerCircle(double radius, double tolerance)
{
    const double r = std::fabs(radius);
    if (tolerance >= r)
        return 8;
    const double step = 2 * std::acos(1 - tolerance / r);
    return std::clamp(int(std::ceil(2 * std::numbers::pi / step)), 8, 4096);
}

} // namespace

std::vector<Shape> offsetShapes(const std::vector<Shape>& shapes, double distance, double tolerance)
{
    if (distance == 0 || shapes.empty())
        return shapes;
    BgShapes in;
    for (const Shape& s : shapes) {
        BgPolygon& polygon = in.emplace_back();
        fill(polygon.outer(), s.outer);
        for (const Contour& hole : s.holes)
            fill(polygon.inners().emplace_back(), hole);
    }
    bg::correct(in);

    const int n = pointsPerCircle(distance, tolerance);
    BgShapes out;
    bg::buffer(in, out, bg::strategy::buffer::distance_symmetric<double>(distance),
               bg::strategy::buffer::side_straight(), bg::strategy::buffer::join_round(n),
               bg::strategy::buffer::end_round(n), bg::strategy::buffer::point_circle(n));

    std::vector<Shape> result;
    for (const BgPolygon& polygon : out) {
        Shape shape{onGrid(polygon.outer(), Role::Outer), {}};
        if (!isUsable(shape.outer))
            continue;
        for (const auto& inner : polygon.inners())
            if (Contour c = onGrid(inner, Role::Hole); isUsable(c))
                shape.holes.push_back(std::move(c));
        result.push_back(std::move(shape));
    }
    return result;
}

} // namespace lw

#pragma GCC diagnostic pop
