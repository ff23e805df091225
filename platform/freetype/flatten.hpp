#pragma once
// Curve flattening: a cubic Bézier becomes straight segments, none farther
// than `tolerance` from the curve. The number of segments comes from Wang's
// formula (the bound on the curve's second derivative), so there is no
// recursion and no per-segment test; the points are evaluated at even steps
// of the parameter and lie exactly on the curve.

#include <algorithm>
#include <cmath>
#include <vector>

namespace lw {

// The largest distance, in device pixels, between a flattened curve and the
// exact curve before the points are rounded to whole pixels.
inline constexpr double kFlatness = 0.25;

struct PointF {
    double x = 0;
    double y = 0;
};

// Enough for any curve a glyph can hold at the largest sizes; a cap keeps a
// corrupt outline from asking for millions of points.
inline constexpr int kMaxSegments = 1024;

// The number of segments that keeps the polyline within `tolerance`, for
// the curve's largest squared second difference m2.
inline int flatteningSegments(double m2, double tolerance)
{
    // Wang: n = sqrt(d(d-1)/8 * M / tolerance) with degree d = 3, so n^2 is
    // at least 0.75 M / tolerance; glyph curves need a handful of segments,
    // so counting up is cheaper than a second square root.
    double n2 = 0.75 * std::sqrt(m2) / tolerance;
    if (!(n2 <= double(kMaxSegments) * kMaxSegments))
        return n2 > 1 ? kMaxSegments : 1; // huge, or not a number
    int n = 1;
    while (double(n) * n < n2)
        ++n;
    return n;
}

inline int flatteningSegments(PointF p0, PointF p1, PointF p2, PointF p3, double tolerance)
{
    double ax = p0.x - 2 * p1.x + p2.x, ay = p0.y - 2 * p1.y + p2.y;
    double bx = p1.x - 2 * p2.x + p3.x, by = p1.y - 2 * p2.y + p3.y;
    return flatteningSegments(std::max(ax * ax + ay * ay, bx * bx + by * by), tolerance);
}

// Hands the points after p0 up to and including p3 to `sink`, in order.
template <typename Sink>
void flattenCubic(PointF p0, PointF p1, PointF p2, PointF p3, double tolerance, Sink&& sink)
{
    int n = flatteningSegments(p0, p1, p2, p3, tolerance);
    // B(t) = a t^3 + b t^2 + c t + p0
    double cx = 3 * (p1.x - p0.x), cy = 3 * (p1.y - p0.y);
    double bx = 3 * (p2.x - 2 * p1.x + p0.x), by = 3 * (p2.y - 2 * p1.y + p0.y);
    double ax = p3.x - p0.x - cx - bx, ay = p3.y - p0.y - cy - by;
    double step = 1.0 / n;
    for (int i = 1; i < n; ++i) {
        double t = i * step;
        sink(PointF{((ax * t + bx) * t + cx) * t + p0.x, ((ay * t + by) * t + cy) * t + p0.y});
    }
    sink(p3); // the exact end point, no drift
}

// Appends the points after p0 up to and including p3.
inline void flattenCubic(PointF p0, PointF p1, PointF p2, PointF p3, double tolerance,
                         std::vector<PointF>& out)
{
    flattenCubic(p0, p1, p2, p3, tolerance, [&out](PointF p) { out.push_back(p); });
}

} // namespace lw
