#include "cut/stencil.hpp"

#include "cut/medial_axis.hpp"
#include "cut/merge.hpp"
#include "cut/sheet_parts.hpp"
#include "cut/tool_check.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <tuple>

namespace lw {
namespace {

// A place where the stroke between a hole and its letter's outer contour
// is as narrow as `radius` twice, and where it touches each.
struct Ligament {
    double radius;
    bool even; // in the middle of a stretch between parallel sides
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

// Calls `crossed(t, sx, sy, det)` for every edge the ray from (ox, oy)
// along (ux, uy) crosses within `length`: t the distance along the ray,
// (sx, sy) the edge, det the ray's cross product with it (never 0).
template <class Crossed>
void forEachCrossing(const std::vector<Contour>& contours, const std::vector<Extent>& boxes, double ox, double oy,
                     double ux, double uy, double length, Crossed crossed)
{
    const double ex = ox + ux * length, ey = oy + uy * length;
    for (std::size_t n = 0; n < contours.size(); ++n) {
        const Extent& e = boxes[n];
        if (std::max(ox, ex) < e.left || std::min(ox, ex) > e.right || std::max(oy, ey) < e.top ||
            std::min(oy, ey) > e.bottom)
            continue;
        const Contour& c = contours[n];
        for (std::size_t k = 0; k < c.size(); ++k) {
            const POINT a = c[k], b = c[(k + 1) % c.size()];
            const double sx = double(b.x - a.x), sy = double(b.y - a.y);
            const double det = ux * sy - uy * sx;
            if (det == 0)
                continue;
            const double wx = double(a.x) - ox, wy = double(a.y) - oy;
            const double t = (wx * sy - wy * sx) / det, u = (wx * uy - wy * ux) / det;
            if (t > 0 && t <= length && u >= 0 && u < 1)
                crossed(t, sx, sy, det);
        }
    }
}

// How far past the stroke's side at (x, y) a strip `half` wide should run
// on along (ux, uy), at most `limit`: far enough that its corners leave no
// sliver of the stroke where the side bends or meets a notch, and never
// halfway to other ink. Told by three rays (the strip's middle and its
// sides) and where they cross the contours, which keep the ink on their
// right; only crossings within twice the limit matter.
double reachPast(const std::vector<Contour>& contours, const std::vector<Extent>& boxes, double x, double y,
                 double ux, double uy, double half, double limit)
{
    double reach = limit;
    const double range = 2 * limit;
    std::vector<std::pair<double, bool>> crossings; // where, and whether into ink
    for (const double side : {-half, 0.0, half}) {
        // Just past the side, so the middle ray starts off the contour.
        const double ox = x - uy * side + ux * 0.5, oy = y + ux * side + uy * 0.5;
        crossings.clear();
        forEachCrossing(contours, boxes, ox, oy, ux, uy, range, [&](double t, double sx, double sy, double) {
            crossings.emplace_back(t, sx * uy - sy * ux < 0);
        });
        std::sort(crossings.begin(), crossings.end());
        double allowed = limit;
        if (!crossings.empty() && crossings[0].second) {
            // Into ink first: the ray starts in the sheet; keep halfway off.
            allowed = crossings[0].first / 2;
        } else if (!crossings.empty()) {
            // Out of ink first: the ray starts in the stroke's bend.
            const double out = crossings[0].first;
            const double next = crossings.size() > 1 ? crossings[1].first : range;
            allowed = std::max(out, next / 2);
        }
        reach = std::min(reach, allowed);
    }
    return reach;
}

// The strip across the stroke, reaching on beyond the stroke's sides (by
// up to half its width, and never into other ink) so that it cuts them
// cleanly where they bend, and a grid unit wider on each side than asked,
// as rounding its corners may take that.
Contour strip(const Bridge& b, const std::vector<Contour>& contours, const std::vector<Extent>& boxes)
{
    const double dx = b.toX - b.fromX, dy = b.toY - b.fromY;
    const double length = std::hypot(dx, dy);
    const double ux = dx / length, uy = dy / length;
    const double half = b.width / 2 + 1;
    const double before = reachPast(contours, boxes, b.fromX, b.fromY, -ux, -uy, half, b.width / 2);
    const double after = reachPast(contours, boxes, b.toX, b.toY, ux, uy, half, b.width / 2);
    const double ax = b.fromX - ux * before, ay = b.fromY - uy * before;
    const double bx = b.toX + ux * after, by = b.toY + uy * after;
    const auto at = [](double x, double y) { return POINT{std::int32_t(std::lround(x)), std::int32_t(std::lround(y))}; };
    return {at(ax - uy * half, ay + ux * half), at(bx - uy * half, by + ux * half), at(bx + uy * half, by - ux * half),
            at(ax + uy * half, ay - ux * half)};
}

double pointToSegment(double px, double py, POINT a, POINT b)
{
    const double dx = double(b.x - a.x), dy = double(b.y - a.y), length = dx * dx + dy * dy;
    const double t = length > 0 ? std::clamp(((px - a.x) * dx + (py - a.y) * dy) / length, 0.0, 1.0) : 0;
    return std::hypot(px - a.x - t * dx, py - a.y - t * dy);
}

bool segmentsCross(POINT a, POINT b, POINT c, POINT d)
{
    const auto side = [](POINT p, POINT q, POINT r) {
        const double v = double(q.x - p.x) * double(r.y - p.y) - double(q.y - p.y) * double(r.x - p.x);
        return (v > 0) - (v < 0);
    };
    return side(a, b, c) * side(a, b, d) < 0 && side(c, d, a) * side(c, d, b) < 0;
}

// Whether the ink beside a strip (`quad`, across from `hole` to `outer`)
// is left thinner than `width`: a stub between the strip and another
// counter (past the waist of an 8), or a wall of its own letter that faces
// it (the outside of a leg the strip runs into), told by rays out from its
// sides, square to them, through the ink; a wall struck at a glancing angle
// is a corner the strip meets, not a stub.
bool leavesStub(const Contour& quad, const std::vector<Contour>& contours, const std::vector<Extent>& boxes,
                double ux, double uy, double width, std::uint32_t hole, std::uint32_t outer)
{
    // Any other counter, or letter, nearer the strip than its width: the
    // ink between them is thinner (the waist of an 8, by either counter).
    const Extent box = extentOf(quad);
    for (std::uint32_t n = 0; n < contours.size(); ++n) {
        const Extent& e = boxes[n];
        if (n == hole || n == outer || e.left > box.right + width || e.right < box.left - width ||
            e.top > box.bottom + width || e.bottom < box.top - width)
            continue;
        const Contour& c = contours[n];
        for (std::size_t k = 0; k < c.size(); ++k) {
            const POINT a = c[k], b = c[(k + 1) % c.size()];
            for (std::size_t j = 0; j < quad.size(); ++j) {
                const POINT p = quad[j], q = quad[(j + 1) % quad.size()];
                if (segmentsCross(a, b, p, q) ||
                    std::min({pointToSegment(a.x, a.y, p, q), pointToSegment(b.x, b.y, p, q),
                              pointToSegment(p.x, p.y, a, b), pointToSegment(q.x, q.y, a, b)}) < width)
                    return true;
            }
        }
    }

    const auto inInk = [&](double x, double y) {
        bool inside = false;
        for (std::size_t n = 0; n < contours.size(); ++n) {
            const Extent& e = boxes[n];
            if (x < e.left || x > e.right || y < e.top || y > e.bottom)
                continue;
            const Contour& c = contours[n];
            for (std::size_t k = 0, j = c.size() - 1; k < c.size(); j = k++)
                if ((c[k].y > y) != (c[j].y > y) &&
                    x < c[k].x + (y - c[k].y) * double(c[j].x - c[k].x) / double(c[j].y - c[k].y))
                    inside = !inside;
        }
        return inside;
    };
    // The first wall facing the ray within `width`, if the ray meets it
    // before leaving the ink.
    const auto stubAlong = [&](double ox, double oy, double nx, double ny) {
        double first = width;
        bool facing = false;
        forEachCrossing(contours, boxes, ox, oy, nx, ny, width, [&](double t, double sx, double sy, double det) {
            if (t < first)
                first = t, facing = std::fabs(det) >= 0.5 * std::hypot(sx, sy);
        });
        return first < width && facing;
    };
    constexpr int kSteps = 16;
    for (const auto& [from, to, nx, ny] : {std::tuple{0, 1, -uy, ux}, std::tuple{3, 2, uy, -ux}}) {
        const POINT p = quad[std::size_t(from)], q = quad[std::size_t(to)];
        for (int k = 1; k < kSteps; ++k) {
            // A grid unit out, past the rounding of the strip's corners.
            const double x = p.x + (q.x - p.x) * k / double(kSteps) + nx * 1.5;
            const double y = p.y + (q.y - p.y) * k / double(kSteps) + ny * 1.5;
            if (inInk(x, y) && stubAlong(x, y, nx, ny))
                return true;
        }
    }
    return false;
}

CapturedOutline outlineOf(const LOGFONT& logFont, const std::vector<Shape>& shapes)
{
    CapturedOutline out{.logFont = logFont, .pointCount = 0, .pathPoints = {}, .pathTypes = {}};
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

// Where ink touches ink at a point, a pocket of sheet may be sealed off
// with no hole around it: it opens where the ink is cut back around a
// touch by the bridge's width every way, so the sheet passes between.
void openPockets(const std::vector<Contour>& contours, double width, int perIsland, std::vector<Bridge>& bridges,
                 std::vector<Contour>& strips)
{
    std::vector<POINT> all;
    for (const Contour& c : contours)
        all.insert(all.end(), c.begin(), c.end());
    const auto before = [](POINT a, POINT b) { return a.x != b.x ? a.x < b.x : a.y < b.y; };
    std::sort(all.begin(), all.end(), before);
    std::vector<POINT> shared;
    for (std::size_t k = 1; k < all.size(); ++k)
        if (all[k].x == all[k - 1].x && all[k].y == all[k - 1].y &&
            (shared.empty() || shared.back().x != all[k].x || shared.back().y != all[k].y))
            shared.push_back(all[k]);
    if (shared.empty())
        return;
    const double half = width + 1;
    for (const EnclosedSheet& pocket : enclosedSheet(contours)) {
        if (pocket.hole != kNoHole)
            continue;
        std::vector<POINT> chosen;
        for (const POINT p : pocket.shape.outer) {
            if (int(chosen.size()) >= perIsland)
                break;
            if (!std::binary_search(shared.begin(), shared.end(), p, before))
                continue;
            if (std::any_of(chosen.begin(), chosen.end(),
                            [&](POINT c) { return std::hypot(double(c.x - p.x), double(c.y - p.y)) < 2 * width; }))
                continue;
            chosen.push_back(p);
            bridges.push_back({double(p.x), double(p.y), double(p.x), double(p.y), width});
            const auto at = [](double x, double y) {
                return POINT{std::int32_t(std::lround(x)), std::int32_t(std::lround(y))};
            };
            strips.push_back({at(p.x - half, p.y - half), at(p.x - half, p.y + half), at(p.x + half, p.y + half),
                              at(p.x + half, p.y - half)});
        }
    }
}

// One round of bridges: every hole across its narrowest stroke to its
// letter's outside, every sealed pocket at a touch.
CadOutline bridgeOnce(const CadOutline& cut, double width, int perIsland)
{
    const std::vector<Contour> contours = cutContours(cut.outline);
    // Each hole's letter: the outer contour it follows.
    constexpr std::uint32_t kNone = 0xFFFFFFFF;
    std::vector<std::uint32_t> outerOf(contours.size(), kNone);
    std::vector<Shape> shapes;
    std::vector<Contour> orphans; // holes before any outer contour: kept, not bridged
    std::uint32_t outer = kNone;
    for (std::uint32_t k = 0; k < contours.size(); ++k) {
        if (twiceArea(contours[k]) < 0) {
            outer = k;
            shapes.push_back({contours[k], {}});
        } else if (outer != kNone) {
            outerOf[k] = outer;
            shapes.back().holes.push_back(contours[k]);
        } else {
            orphans.push_back(contours[k]);
        }
    }
    // The cut reads every contour alike, whichever shape holds it.
    if (!shapes.empty())
        shapes.front().holes.insert(shapes.front().holes.end(), orphans.begin(), orphans.end());
    CadOutline out{.outline = {}, .gridScale = cut.gridScale};
    bool anyHole = std::any_of(outerOf.begin(), outerOf.end(), [](std::uint32_t o) { return o != kNone; });
    if (!anyHole) {
        std::vector<Contour> strips;
        openPockets(contours, width, perIsland, out.bridges, strips);
        out.outline = outlineOf(cut.outline.logFont, strips.empty() ? shapes : cutAway(shapes, strips));
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
        const double radius = std::min(axis.nodes[e.a].radius, axis.nodes[e.b].radius);
        const bool even = std::fabs(axis.nodes[e.a].radius - axis.nodes[e.b].radius) <= 1e-6 * radius + 0.5;
        const int h = holeFirst ? 0 : 1;
        across[holeFirst ? c0 : c1].push_back(
            {radius, even, e.at[0], e.at[1], {e.feet[h][0], e.feet[h][1]}, {e.feet[1 - h][0], e.feet[1 - h][1]}});
    }

    std::vector<Extent> boxes;
    for (const Contour& c : contours)
        boxes.push_back(extentOf(c));
    std::vector<Contour> strips;
    for (std::uint32_t h = 0; h < contours.size(); ++h) {
        std::vector<Ligament>& ligaments = across[h];
        // The narrowest first, to a grid unit; of those as narrow, one in the
        // middle of an even stretch, away from the junctions at its ends.
        std::sort(ligaments.begin(), ligaments.end(), [](const Ligament& a, const Ligament& b) {
            const double ka = std::floor(a.radius), kb = std::floor(b.radius);
            return ka != kb ? ka < kb : a.even != b.even ? a.even : a.radius < b.radius;
        });
        // Bridges of one island stand apart, spread along its hole.
        const double apart = std::max(2 * width, perimeter(contours[h]) / (2.0 * perIsland));
        // A bridge that passes another counter closer than its own width
        // leaves a stub of ink thinner than the tool between them (the
        // waist of an 8): the next narrowest place that leaves none, if one
        // is at most twice as long; where every place leaves one (strokes
        // thinner than the bridge all round), the narrowest all the same.
        double shortest = 0;
        for (const Ligament& l : ligaments) {
            const double length = std::hypot(l.outer[0] - l.hole[0], l.outer[1] - l.hole[1]);
            if (length > 0 && (shortest == 0 || length < shortest))
                shortest = length;
        }
        std::vector<const Ligament*> chosen;
        for (const bool clear : {true, false}) {
            for (const Ligament& l : ligaments) {
                if (int(chosen.size()) >= perIsland)
                    break;
                const bool near = std::any_of(chosen.begin(), chosen.end(), [&](const Ligament* c) {
                    return c == &l || std::hypot(c->x - l.x, c->y - l.y) < apart;
                });
                const double length = std::hypot(l.outer[0] - l.hole[0], l.outer[1] - l.hole[1]);
                if (near || length <= 0 || (clear && length > 2 * shortest))
                    continue;
                const Bridge b{l.hole[0], l.hole[1], l.outer[0], l.outer[1], width};
                Contour cutBy = strip(b, contours, boxes);
                if (clear && leavesStub(cutBy, contours, boxes, (b.toX - b.fromX) / length,
                                        (b.toY - b.fromY) / length, width, h, outerOf[h]))
                    continue;
                chosen.push_back(&l);
                out.bridges.push_back(b);
                strips.push_back(std::move(cutBy));
            }
        }
    }
    openPockets(contours, width, perIsland, out.bridges, strips);
    out.outline = outlineOf(cut.outline.logFont, cutAway(shapes, strips));
    return out;
}

} // namespace

CadOutline withBridges(const CadOutline& cut, double width, int perIsland)
{
    CadOutline out = bridgeOnce(cut, width, perIsland);
    // A hole walled in by other holes (an island between a bar and a
    // letter, say) meets its letter's outside only once they are bridged:
    // round after round, while each holds more.
    std::size_t before = SIZE_MAX;
    for (;;) {
        const std::vector<EnclosedSheet> left = enclosedSheet(cutContours(out.outline));
        if (left.empty())
            return out;
        if (left.size() >= before) {
            for (const EnclosedSheet& e : left)
                out.unheld.push_back({e.x, e.y, e.area});
            return out;
        }
        before = left.size();
        CadOutline next = bridgeOnce(out, width, perIsland);
        next.bridges.insert(next.bridges.begin(), out.bridges.begin(), out.bridges.end());
        out = std::move(next);
    }
}

} // namespace lw
