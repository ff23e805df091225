#pragma once
// Offsetting shapes for a cutter's width: the outer contour moves outward
// and the holes inward by a distance (negative: the other way), with round
// joins. A hole narrower than twice the distance closes, a shape thinner than
// twice a negative distance vanishes. Boost.Geometry's buffer does the work
// one shape at a time, and shapes grown into each other are united; the
// cost grows with the points, not with their square. The result is rounded
// back to the grid.
//
//   std::vector<Shape> kerf = offsetShapes(shapes, 250, 25); // grid units

#include "cut/contours.hpp"

#include <vector>

namespace lw {

// How far the chords of a round join may stray from the arc, in the
// capture's device pixels: as far as its curves stray from the font's.
inline constexpr double kOffsetArcTolerance = 0.25;

// Every arc's chords stay within `tolerance` grid units of the true arc.
// The shapes must not overlap (as the merge leaves them). A distance of 0
// returns the shapes as they are.
std::vector<Shape> offsetShapes(const std::vector<Shape>& shapes, double distance, double tolerance);

// The points a round join puts on a whole circle of `radius` so that its
// chords stay within `tolerance` of the arc: from 8 to 4096.
int pointsPerCircle(double radius, double tolerance);

} // namespace lw
