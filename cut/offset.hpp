#pragma once
// Offsetting shapes for a cutter's width: the outer contour moves outward
// and the holes inward by a distance (negative: the other way), with round
// joins. A hole narrower than twice the distance closes, a shape thinner than
// twice a negative distance vanishes. Shapes near each other are taken
// together: their contours traced (offset_trace.hpp) where the traces
// cross nothing, else Boost.Geometry's buffer one shape at a time and the
// union of those grown into each other; the cost grows with the points,
// not with their square. The result is rounded back to the grid.
//
//   std::vector<Shape> kerf = offsetShapes(shapes, 250, 25); // grid units

#include "cut/contours.hpp"
#include "outline/round_joins.hpp"

#include <vector>

namespace lw {

// Every arc's chords stay within `tolerance` grid units of the true arc.
// The shapes must not overlap (as the merge leaves them). A distance of 0
// returns the shapes as they are.
std::vector<Shape> offsetShapes(const std::vector<Shape>& shapes, double distance, double tolerance);

} // namespace lw
