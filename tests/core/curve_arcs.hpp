#pragma once
// A curve's arcs read as one list where they lie, for tests that compare
// curves: what a writer reads through placedArcsOf, the shift applied.

#include "cut/arcs.hpp"

#include <span>
#include <vector>

namespace lw::test {

// A view of the curve's own arcs when they need no shift, else of `scratch`
// holding them moved or fitted now.
inline std::span<const ArcVertex> arcsOf(const ExactCurve& curve, double tolerance, std::vector<ArcVertex>& scratch)
{
    const PlacedArcs placed = placedArcsOf(curve, tolerance, scratch);
    const double dx = placed.shift.x, dy = placed.shift.y;
    if (dx == 0 && dy == 0)
        return placed.arcs;
    scratch.resize(placed.arcs.size());
    ArcVertex* to = scratch.data();
    for (const ArcVertex& v : placed.arcs)
        *to++ = {{v.at.x + dx, v.at.y + dy}, v.bulge};
    return scratch;
}

// The same arcs, copied.
inline std::vector<ArcVertex> fitArcs(const ExactCurve& curve, double tolerance)
{
    std::vector<ArcVertex> out;
    const std::span<const ArcVertex> arcs = arcsOf(curve, tolerance, out);
    if (arcs.data() != out.data())
        out.assign(arcs.begin(), arcs.end());
    return out;
}

} // namespace lw::test
