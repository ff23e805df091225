#include "cut/sheet_parts.hpp"

#include "cut/merge.hpp"

#include <algorithm>
#include <cmath>

namespace lw {
namespace {

double areaOf(const Contour& c)
{
    return std::fabs(double(twiceArea(c))) / 2;
}

// The middle of the widest stretch a line across the part's middle row
// runs inside it: a point well inside even a ring-shaped part.
void placeInside(EnclosedSheet& part)
{
    const Extent e = extentOf(part.shape.outer);
    const double y = (double(e.top) + double(e.bottom)) / 2 + 0.25; // off every grid point
    std::vector<double> xs;
    const auto cross = [&](const Contour& c) {
        for (std::size_t k = 0; k < c.size(); ++k) {
            const POINT a = c[k], b = c[(k + 1) % c.size()];
            if ((a.y < y) != (b.y < y))
                xs.push_back(a.x + (y - a.y) * double(b.x - a.x) / double(b.y - a.y));
        }
    };
    cross(part.shape.outer);
    for (const Contour& h : part.shape.holes)
        cross(h);
    std::sort(xs.begin(), xs.end());
    part.x = part.shape.outer[0].x, part.y = part.shape.outer[0].y;
    double widest = -1;
    for (std::size_t k = 0; k + 1 < xs.size(); k += 2)
        if (xs[k + 1] - xs[k] > widest)
            widest = xs[k + 1] - xs[k], part.x = (xs[k] + xs[k + 1]) / 2, part.y = y;
}

} // namespace

std::vector<EnclosedSheet> enclosedSheet(std::span<const Contour> contours)
{
    std::vector<EnclosedSheet> out;
    if (contours.empty())
        return out;
    Extent all = extentOf(contours[0]);
    for (const Contour& c : contours) {
        const Extent e = extentOf(c);
        all.left = std::min(all.left, e.left), all.top = std::min(all.top, e.top);
        all.right = std::max(all.right, e.right), all.bottom = std::max(all.bottom, e.bottom);
    }
    const std::int32_t l = all.left - 2, t = all.top - 2, r = all.right + 2, b = all.bottom + 2;
    const Shape frame{{{l, t}, {l, b}, {r, b}, {r, t}}, {}};
    // The clipper keeps apart what meets only at a point, so a pocket
    // sealed there comes out as a part of its own.
    const std::vector<Shape> parts =
        cutAway({frame}, std::vector<Contour>(contours.begin(), contours.end()));
    for (const Shape& s : parts) {
        const Extent e = extentOf(s.outer);
        if (e.left <= l || e.top <= t || e.right >= r || e.bottom >= b)
            continue;
        EnclosedSheet part{.shape = s, .area = areaOf(s.outer)};
        for (const Contour& h : s.holes)
            part.area -= areaOf(h);
        for (std::uint32_t h = 0; h < contours.size(); ++h) {
            if (twiceArea(contours[h]) <= 0)
                continue;
            const Extent he = extentOf(contours[h]);
            if (he.left == e.left && he.top == e.top && he.right == e.right && he.bottom == e.bottom &&
                std::fabs(double(he.area)) == std::fabs(double(e.area))) {
                part.hole = h;
                break;
            }
        }
        placeInside(part);
        out.push_back(std::move(part));
    }
    return out;
}

} // namespace lw
