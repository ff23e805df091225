#include "cut/mirror.hpp"

#include <algorithm>
#include <cstddef>
#include <optional>

namespace lw {

void mirror(CadOutline& cut, MmPlacement& placement, Mirror how)
{
    if (how == Mirror::None)
        return;
    const bool x = how == Mirror::X;
    (x ? placement.originX : placement.originY) *= -1;
    CapturedOutline& o = cut.outline;
    const std::size_t count = std::size_t(o.pointCount);
    for (std::size_t i = 0; i < count; ++i)
        (x ? o.pathPoints[i].x : o.pathPoints[i].y) *= -1;
    // A reflection turns every contour the other way; walking each backwards
    // (from the same first point) turns it back. The types stay in place.
    std::size_t first = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (!(o.pathTypes[i] & 1) && i + 1 != count)
            continue;
        std::reverse(o.pathPoints.begin() + std::ptrdiff_t(first) + 1, o.pathPoints.begin() + std::ptrdiff_t(i) + 1);
        first = i + 1;
    }
    // The exact curves, kept per contour, turn over with it.
    const auto flip = [x](CurvePoint& p) { (x ? p.x : p.y) *= -1; };
    for (std::optional<ExactCurve>& figure : cut.curves) {
        if (!figure)
            continue;
        ownSegments(*figure);
        flip(figure->start);
        for (CurveSegment& s : figure->segments) {
            flip(s.c1);
            flip(s.c2);
            flip(s.end);
        }
        figure = reversed(*figure);
    }
}

} // namespace lw
