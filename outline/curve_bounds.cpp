#include "outline/curve_bounds.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lw {

void CurveBox::add(CurvePoint p)
{
    if (!any) {
        left = right = p.x;
        top = bottom = p.y;
        any = true;
        return;
    }
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
}

namespace {

// The roots in (0, 1) of one coordinate's derivative, a t^2 + b t + c
// (scaled by 1/3), for the cubic p0..p3 in that coordinate.
int turningPoints(double p0, double p1, double p2, double p3, double roots[2])
{
    const double a = p3 - 3 * p2 + 3 * p1 - p0, b = 2 * (p2 - 2 * p1 + p0), c = p1 - p0;
    int n = 0;
    const auto keep = [&](double t) {
        if (t > 0 && t < 1)
            roots[n++] = t;
    };
    // Relative to the other terms a is often rounding noise: then the
    // derivative is linear.
    if (std::fabs(a) <= 1e-12 * (std::fabs(b) + std::fabs(c))) {
        if (b != 0)
            keep(-c / b);
        return n;
    }
    const double d = b * b - 4 * a * c;
    if (d < 0)
        return n;
    // The root of the larger magnitude first, the other from the product,
    // so neither loses its digits to cancellation.
    const double q = -0.5 * (b + std::copysign(std::sqrt(d), b));
    if (q != 0) {
        keep(q / a);
        keep(c / q);
    } else {
        keep(0);
    }
    return n;
}

} // namespace

void boundFigure(CurveBox& box, CurvePoint start, std::span<const CurveSegment> segments)
{
    box.add(start);
    CurvePoint from = start;
    for (const CurveSegment& s : segments) {
        boundSegment(box, from, s);
        from = s.end;
    }
}

void boundSegment(CurveBox& box, CurvePoint from, const CurveSegment& s)
{
    box.add(s.end);
    if (!s.cubic)
        return;
    double roots[2];
    for (const bool alongX : {true, false}) {
        const int n = alongX ? turningPoints(from.x, s.c1.x, s.c2.x, s.end.x, roots)
                             : turningPoints(from.y, s.c1.y, s.c2.y, s.end.y, roots);
        for (int k = 0; k < n; ++k)
            box.add(pointOn(s, from, roots[k]));
    }
}

void boundArc(CurveBox& box, CurvePoint from, CurvePoint to, double bulge)
{
    box.add(to);
    const double dx = to.x - from.x, dy = to.y - from.y;
    if (bulge == 0 || (dx == 0 && dy == 0))
        return;
    // The centre lies off the chord's middle, to its left for a bulge that
    // turns from +x towards +y.
    const double k = (1 - bulge * bulge) / (4 * bulge);
    const double cx = (from.x + to.x) / 2 - dy * k, cy = (from.y + to.y) / 2 + dx * k;
    const double radius = std::hypot(dx, dy) * (1 + bulge * bulge) / (4 * std::fabs(bulge));
    const double sweep = 4 * std::atan(bulge);
    const double start = std::atan2(from.y - cy, from.x - cx);
    // Every quarter turn the sweep passes: sweeps stay within a whole turn.
    constexpr double kQuarter = std::numbers::pi / 2;
    for (int q = -8; q <= 8; ++q) {
        const double s = (q * kQuarter - start) / sweep;
        if (s > 0 && s < 1) {
            const int quadrant = ((q % 4) + 4) % 4;
            box.add({cx + (quadrant == 0 ? radius : quadrant == 2 ? -radius : 0),
                     cy + (quadrant == 1 ? radius : quadrant == 3 ? -radius : 0)});
        }
    }
}

} // namespace lw
