#pragma once
// Exact tests on segments between grid points, for the offset's traces:
// the side of a line a point lies on, and whether two closed segments
// share a point. Products are taken wide, differences of coordinates
// within 2^30.
//
//   if (segmentsShare(a, b, c, d)) { /* the edges touch or cross */ }

#include "cut/contours.hpp"

#include <algorithm>

namespace lw {

// The sign of the turn from a→b to b→p: 0 where `p` lies on their line.
inline int sideOf(POINT a, POINT b, POINT p)
{
    const WideArea v = WideArea(b.x - a.x) * (p.y - a.y) - WideArea(b.y - a.y) * (p.x - a.x);
    return (v > 0) - (v < 0);
}

// Whether `p` lies in the box of a and b: between them, for a point on their line.
inline bool within(POINT a, POINT b, POINT p)
{
    return std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
           p.y <= std::max(a.y, b.y);
}

inline bool segmentsShare(POINT a, POINT b, POINT c, POINT d)
{
    const int s1 = sideOf(a, b, c), s2 = sideOf(a, b, d), s3 = sideOf(c, d, a), s4 = sideOf(c, d, b);
    if (s1 * s2 < 0 && s3 * s4 < 0)
        return true;
    return (s1 == 0 && within(a, b, c)) || (s2 == 0 && within(a, b, d)) || (s3 == 0 && within(c, d, a)) ||
           (s4 == 0 && within(c, d, b));
}

} // namespace lw
