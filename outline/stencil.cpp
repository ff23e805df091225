#include "outline/stencil.hpp"

#include "outline/cad_merge.hpp"
#include "outline/medial_axis.hpp"
#include "outline/tool_check.hpp"

#include <algorithm>
#include <cmath>

namespace lw {
namespace {

// A place where the stroke between a hole and its letter's outer contour
// is as narrow as `radius` twice, and where it touches each.
struct Ligament {
    double radius;
    double x, y;
    double hole[2], outer[2];
};

double perimeter(const Contour& c)
{
    double sum = 0;
    for (std::size_t k = 0; k < c.size(); ++k) {
        const POINT a = c[k], b = c[(k + 1) % c.size()];
        sum += std::hypot(double(b.x - a.x), double(b.y - a.y));
    }
    return sum;
}

// The strip across the stroke, reaching half its width beyond the stroke's
// sides so that it cuts them cleanly where they bend, and a grid unit
// wider on each side than asked, as rounding its corners may take that.
Contour strip(const Bridge& b)
{
    const double dx = b.toX - b.fromX, dy = b.toY - b.fromY;
    const double length = std::hypot(dx, dy);
    const double ux = dx / length, uy = dy / length;
    const double reach = b.width / 2, half = b.width / 2 + 1;
    const double ax = b.fromX - ux * reach, ay = b.fromY - uy * reach;
    const double bx = b.toX + ux * reach, by = b.toY + uy * reach;
    const auto at = [](double x, double y) { return POINT{std::int32_t(std::lround(x)), std::int32_t(std::lround(y))}; };
    return {at(ax - uy * half, ay + ux * half), at(bx - uy * half, by + ux * half), at(bx + uy * half, by - ux * half),
            at(ax + uy * half, ay - ux * half)};
}

CapturedOutline outlineOf(const LOGFONT& logFont, const std::vector<Shape>& shapes)
{
    CapturedOutline out{.logFont = logFont, .pointCount = 0, .pathPoints = {}, .pathTypes = {}, .glyphRuns = {}};
    const auto add = [&](const Contour& c) {
        for (std::size_t k = 0; k < c.size(); ++k) {
            out.pathPoints.push_back(c[k]);
            out.pathTypes.push_back(k == 0 ? PT_MOVETO : k + 1 == c.size() ? PT_LINETO | PT_CLOSEFIGURE : PT_LINETO);
        }
    };
    for (const Shape& s : shapes) {
        add(s.outer);
        for (const Contour& h : s.holes)
            add(h);
    }
    out.pointCount = std::int32_t(out.pathPoints.size());
    out.pathPoints.push_back(POINT{});
    out.pathTypes.push_back(0);
    return out;
}

} // namespace

CadOutline withBridges(const CadOutline& cut, double width, int perIsland)
{
    const std::vector<Contour> contours = cutContours(cut.outline);
    // Each hole's letter: the outer contour it follows.
    constexpr std::uint32_t kNone = 0xFFFFFFFF;
    std::vector<std::uint32_t> outerOf(contours.size(), kNone);
    std::vector<Shape> shapes;
    std::uint32_t outer = kNone;
    for (std::uint32_t k = 0; k < contours.size(); ++k) {
        if (twiceArea(contours[k]) < 0) {
            outer = k;
            shapes.push_back({contours[k], {}});
        } else if (outer != kNone) {
            outerOf[k] = outer;
            shapes.back().holes.push_back(contours[k]);
        }
    }
    CadOutline out{.outline = {}, .gridScale = cut.gridScale};
    bool anyHole = std::any_of(outerOf.begin(), outerOf.end(), [](std::uint32_t o) { return o != kNone; });
    if (!anyHole) {
        out.outline = outlineOf(cut.outline.logFont, shapes);
        return out;
    }

    // The narrowest places of every stroke between a hole and its letter's
    // outside, from the ink's medial axis.
    const AxisGraph axis = medialAxis(contours);
    std::vector<std::vector<Ligament>> across(contours.size());
    for (const AxisEdge& e : axis.edges) {
        const std::uint32_t c0 = e.contours[0], c1 = e.contours[1];
        if (axis.nodes[e.a].side != Side::Ink || c0 == kFrameContour || c1 == kFrameContour)
            continue;
        const bool holeFirst = c0 < contours.size() && outerOf[c0] != kNone && outerOf[c0] == c1;
        const bool holeSecond = c1 < contours.size() && outerOf[c1] != kNone && outerOf[c1] == c0;
        if (!holeFirst && !holeSecond)
            continue;
        const AxisNode& n = axis.nodes[e.a].radius <= axis.nodes[e.b].radius ? axis.nodes[e.a] : axis.nodes[e.b];
        const int h = holeFirst ? 0 : 1;
        across[holeFirst ? c0 : c1].push_back(
            {n.radius, n.x, n.y, {e.feet[h][0], e.feet[h][1]}, {e.feet[1 - h][0], e.feet[1 - h][1]}});
    }

    std::vector<Contour> strips;
    for (std::uint32_t h = 0; h < contours.size(); ++h) {
        std::vector<Ligament>& ligaments = across[h];
        std::sort(ligaments.begin(), ligaments.end(),
                  [](const Ligament& a, const Ligament& b) { return a.radius < b.radius; });
        // Bridges of one island stand apart, spread along its hole.
        const double apart = std::max(2 * width, perimeter(contours[h]) / (2.0 * perIsland));
        std::vector<const Ligament*> chosen;
        for (const Ligament& l : ligaments) {
            if (int(chosen.size()) >= perIsland)
                break;
            const bool near = std::any_of(chosen.begin(), chosen.end(), [&](const Ligament* c) {
                return std::hypot(c->x - l.x, c->y - l.y) < apart;
            });
            if (near || std::hypot(l.outer[0] - l.hole[0], l.outer[1] - l.hole[1]) <= 0)
                continue;
            chosen.push_back(&l);
            const Bridge b{l.hole[0], l.hole[1], l.outer[0], l.outer[1], width};
            out.bridges.push_back(b);
            strips.push_back(strip(b));
        }
    }
    out.outline = outlineOf(cut.outline.logFont, cutAway(shapes, strips));
    return out;
}

} // namespace lw
