#include "platform/freetype/flatten.hpp"

#include <algorithm>
#include <cmath>

namespace lw {
namespace {

// Enough for any curve a glyph can hold at the largest sizes; a cap keeps a
// corrupt outline from asking for millions of points.
constexpr int kMaxSegments = 1024;

} // namespace

int flatteningSegments(PointF p0, PointF p1, PointF p2, PointF p3, double tolerance)
{
    double ax = p0.x - 2 * p1.x + p2.x, ay = p0.y - 2 * p1.y + p2.y;
    double bx = p1.x - 2 * p2.x + p3.x, by = p1.y - 2 * p2.y + p3.y;
    double m2 = std::max(ax * ax + ay * ay, bx * bx + by * by);
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

} // namespace lw
