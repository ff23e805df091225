#pragma once
// Curve flattening: a cubic Bézier becomes straight segments, none farther
// than `tolerance` from the curve. The number of segments comes from Wang's
// formula (the bound on the curve's second derivative), so there is no
// recursion and no per-segment test; the points are evaluated at even steps
// of the parameter and lie exactly on the curve.

#include <vector>

namespace lw {

// The largest distance, in device pixels, between a flattened curve and the
// exact curve before the points are rounded to whole pixels.
inline constexpr double kFlatness = 0.25;

struct PointF {
    double x = 0;
    double y = 0;
};

// The number of segments that keeps the polyline within `tolerance`.
int flatteningSegments(PointF p0, PointF p1, PointF p2, PointF p3, double tolerance);

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
