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
// the curve's largest squared second difference m2, computed the long way.
inline int flatteningSegmentsBySquareRoot(double m2, double tolerance)
{
    // Wang: n = sqrt(d(d-1)/8 * M / tolerance) with degree d = 3, so n^2 is
    // at least 0.75 M / tolerance.
    double n2 = 0.75 * std::sqrt(m2) / tolerance;
    if (!(n2 <= double(kMaxSegments) * kMaxSegments))
        return n2 > 1 ? kMaxSegments : 1; // huge, or not a number
    int n = 1;
    while (double(n) * n < n2)
        ++n;
    return n;
}

// The same count without waiting on a square root: n^2 < 0.75 sqrt(M) / tol
// reads n^4 < q with q = (0.75 / tol)^2 M, decided exactly in integers where
// q is not within rounding of n^4, and the long way where it is, so the
// count is always the one above.
inline int flatteningSegments(double m2, double tolerance)
{
    const double k = 0.75 / tolerance;
    const double q = k * k * m2;
    // 1e12 is just under kMaxSegments^4; zero, huge and not a number go
    // the long way.
    if (!(q > 1e-200 && q < 1e12))
        return flatteningSegmentsBySquareRoot(m2, tolerance);
    const double margin = q * 1e-12;
    int n = 1;
    double n4 = 1;
    while (n4 < q - margin) {
        ++n;
        n4 = double(n) * n;
        n4 *= n4;
    }
    // Within rounding of the bound: the long way decides.
    if (n4 <= q + margin)
        return flatteningSegmentsBySquareRoot(m2, tolerance);
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
