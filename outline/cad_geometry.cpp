#include "outline/cad_geometry.hpp"

#include "base/failure.hpp"
#include "outline/cad_merge.hpp"
#include "outline/cad_offset.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace lw {
namespace {

// The merge's integer range, and the finest grid worth having: points that
// arise where edges cross are rounded to it, so the merged area keeps the
// font's to about one part in a million even at 1 pt.
constexpr double kGridLimit = double(1 << 29);
constexpr int kFinestScale = 1 << 20;
// Round joins stay as close to the true arc as the capture's curves are
// to the font's: a quarter of a device pixel.
constexpr double kArcTolerance = 0.25;

int gridScaleFor(const CapturedOutline& captured, double offsetPixels, bool merge)
{
    // Every point belongs to some figure: one straight pass over them all.
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    const std::size_t count = captured.pointCount > 0 ? std::size_t(captured.pointCount) : 0;
    for (std::size_t i = 0; i < count; ++i) {
        const POINT p = captured.pathPoints[i];
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    const std::int64_t most = std::max({-std::int64_t(left), std::int64_t(right), -std::int64_t(top), std::int64_t(bottom)});
    const double reach = double(most) + std::fabs(offsetPixels) + 2;
    if (merge && reach * 2 >= kGridLimit)
        throw Failure(FailureKind::Overflow,
                      "the outline reaches " + std::to_string(std::llround(reach)) +
                          " device pixels from the origin, beyond the " + std::to_string(std::llround(kGridLimit / 2)) +
                          " the merge works within; choose a coarser precision or do not merge");
    int scale = 1;
    while (scale < kFinestScale && reach * scale * 2 < kGridLimit)
        scale *= 2;
    return scale;
}

std::vector<Contour> contoursOf(const CapturedOutline& captured, int scale)
{
    std::vector<Contour> contours;
    for (const Figure& f : figures(captured)) {
        if (!f.closed)
            continue;
        Contour c;
        c.reserve(f.points.size());
        for (const POINT& p : f.points)
            c.push_back(POINT{p.x * scale, p.y * scale});
        removeRepeats(c);
        if (isUsable(c))
            contours.push_back(std::move(c));
    }
    return contours;
}

struct Box {
    std::int32_t left, top, right, bottom;
    bool holds(const Box& b) const { return left <= b.left && top <= b.top && right >= b.right && bottom >= b.bottom; }
};

Box boxOf(const Contour& c)
{
    Box b{c[0].x, c[0].y, c[0].x, c[0].y};
    for (const POINT& p : c)
        b = {std::min(b.left, p.x), std::min(b.top, p.y), std::max(b.right, p.x), std::max(b.bottom, p.y)};
    return b;
}

// Unmerged figures keep the font's roles: a figure that turns the way the
// outermost figure around it turns is an outer contour, the other way a hole.
std::vector<Role> rolesOf(const std::vector<Contour>& contours)
{
    const std::size_t n = contours.size();
    std::vector<WideArea> area(n);
    std::vector<Box> box(n);
    std::vector<std::size_t> order(n);
    for (std::size_t i = 0; i < n; ++i) {
        area[i] = twiceArea(contours[i]);
        box[i] = boxOf(contours[i]);
        order[i] = i;
    }
    const auto size = [&](std::size_t i) { return area[i] < 0 ? -area[i] : area[i]; };
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return size(a) > size(b); });

    std::vector<bool> rootTurnsNegative(n);
    std::vector<Role> roles(n);
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t i = order[k];
        const std::size_t* parent = nullptr;
        for (std::size_t m = k; m-- > 0;) {
            const std::size_t j = order[m];
            if (box[j].holds(box[i]) && encloses(contours[j], contours[i][0])) {
                parent = &order[m];
                break;
            }
        }
        rootTurnsNegative[i] = parent ? rootTurnsNegative[*parent] : area[i] < 0;
        roles[i] = (area[i] < 0) == rootTurnsNegative[i] ? Role::Outer : Role::Hole;
    }
    return roles;
}

std::vector<Shape> offsetOne(const Contour& c, Role role, double distance, double tolerance)
{
    Shape alone{c, {}};
    orient(alone.outer, Role::Outer);
    std::vector<Shape> out = offsetShapes({alone}, role == Role::Outer ? distance : -distance, tolerance);
    if (role == Role::Hole)
        for (Shape& s : out) {
            orient(s.outer, Role::Hole);
            s.holes.clear();
        }
    return out;
}

void append(CapturedOutline& out, std::size_t& at, const Contour& c)
{
    std::copy(c.begin(), c.end(), out.pathPoints.begin() + std::ptrdiff_t(at));
    std::uint8_t* types = out.pathTypes.data() + at;
    types[0] = PT_MOVETO;
    std::fill(types + 1, types + c.size(), std::uint8_t(PT_LINETO));
    types[c.size() - 1] = PT_LINETO | PT_CLOSEFIGURE;
    at += c.size();
}

CapturedOutline outlineOf(const LOGFONT& logFont, const std::vector<Shape>& shapes)
{
    CapturedOutline out;
    out.logFont = logFont;
    std::size_t points = 1;
    for (const Shape& s : shapes) {
        points += s.outer.size();
        for (const Contour& hole : s.holes)
            points += hole.size();
    }
    // The last slot stays (0,0) / 0.
    out.pathPoints.assign(points, POINT{});
    out.pathTypes.assign(points, 0);
    std::size_t at = 0;
    for (const Shape& s : shapes) {
        append(out, at, s.outer);
        for (const Contour& hole : s.holes)
            append(out, at, hole);
    }
    out.pointCount = std::int32_t(at);
    return out;
}

} // namespace

CadOutline cadOutline(const CapturedOutline& captured, const CadOptions& options, const CurvedPath* path)
{
    const int scale = gridScaleFor(captured, options.offsetPixels, options.merge);
    const double distance = options.offsetPixels * scale;
    const double tolerance = kArcTolerance * scale;
    std::vector<Contour> contours = contoursOf(captured, scale);

    std::vector<Shape> shapes;
    if (options.merge) {
        shapes = mergeNonzero(std::move(contours));
        if (distance != 0)
            shapes = offsetShapes(shapes, distance, tolerance);
    } else {
        const std::vector<Role> roles = rolesOf(contours);
        for (std::size_t i = 0; i < contours.size(); ++i) {
            if (distance != 0) {
                for (Shape& s : offsetOne(contours[i], roles[i], distance, tolerance))
                    shapes.push_back(std::move(s));
            } else {
                orient(contours[i], roles[i]);
                shapes.push_back(Shape{std::move(contours[i]), {}});
            }
        }
    }
    CadOutline cut{.outline = outlineOf(captured.logFont, shapes), .gridScale = scale};
    if (options.curves && path) {
        cut.curves = exactCurvesFor(captured, *path, cut.outline, scale);
        cut.curveTolerance = 0.5 * scale;
    }
    return cut;
}

MmPlacement onCadGrid(const MmPlacement& placement, const CadOutline& cad)
{
    return {placement.originX * cad.gridScale, placement.originY * cad.gridScale, placement.dpi * cad.gridScale};
}

} // namespace lw
