#include "outline/stroke_offset.hpp"

#include "outline/precision.hpp"
#include "outline/round_joins.hpp"

// As in cut/offset.cpp: GCC 12 at -O3 warns of a point Boost's round join
// fills through an output parameter; it is filled.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include "outline/geometry_shapes.hpp"

#include <cmath>

namespace lw {
namespace {

using namespace shapes;

void addFigure(CapturedOutline& out, const auto& ring)
{
    // Boost's rings repeat their first point at the end; a figure does not.
    std::vector<POINT> points;
    for (const BgPoint& p : ring) {
        const POINT q{std::int32_t(std::lround(p.x())), std::int32_t(std::lround(p.y()))};
        if (points.empty() || points.back().x != q.x || points.back().y != q.y)
            points.push_back(q);
    }
    while (points.size() > 1 && points.back().x == points.front().x && points.back().y == points.front().y)
        points.pop_back();
    if (points.size() < 3)
        return;
    out.pathPoints.pop_back();
    out.pathTypes.pop_back();
    for (std::size_t k = 0; k < points.size(); ++k) {
        out.pathPoints.push_back(points[k]);
        out.pathTypes.push_back(k == 0 ? PT_MOVETO : k + 1 == points.size() ? PT_LINETO | PT_CLOSEFIGURE : PT_LINETO);
    }
    out.pathPoints.push_back(POINT{});
    out.pathTypes.push_back(0);
    out.pointCount = std::int32_t(out.pathPoints.size() - 1);
}

} // namespace

CapturedOutline strokeInk(const OpenLines& lines, double radiusMm, double dpi)
{
    CapturedOutline out;
    const double perMm = dpi / kMmPerInch;
    const double radius = radiusMm * perMm;
    const int perCircle = pointsPerCircle(radius, 0.25);
    for (std::size_t i = 0; i < lines.count(); ++i) {
        // One line at a time: Boost's buffer of many compares every piece
        // with every other; the merge unites them after.
        BgLine l;
        for (const MmPoint& p : lines.line(i))
            l.push_back(BgPoint(p.x * perMm, -p.y * perMm));
        BgShapes grown;
        bg::buffer(l, grown, bg::strategy::buffer::distance_symmetric<double>(radius),
                   bg::strategy::buffer::side_straight(), bg::strategy::buffer::join_round(perCircle),
                   bg::strategy::buffer::end_round(perCircle), bg::strategy::buffer::point_circle(perCircle));
        for (const BgPolygon& p : grown) {
            addFigure(out, p.outer());
            for (const auto& hole : p.inners())
                addFigure(out, hole);
        }
    }
    return out;
}

} // namespace lw

#pragma GCC diagnostic pop
