#pragma once
// The offset of one shape traced contour by contour: each edge moved by the
// distance, a round join where the edges part, the two edges cut where they
// meet; a slot or hole that closes, closed; a contour that then crosses
// itself (a neck closed over a wider room) split into the loops it winds
// round once (untangle.hpp). Where the traced contours cross nothing, that
// is the offset, found in time n log n in the points. Where they could be
// anything else, the tracing declines and the general offset (offsetShapes)
// does the work.
//
//   std::vector<Shape> moved;
//   if (!traceOffset(shapes, {0, 1}, 250, 64, moved)) { /* the general way */ }

#include "cut/contours.hpp"

#include <cstddef>
#include <vector>

namespace lw {

// Appends the offset of the `members` of `shapes` (outer contours
// counter-clockwise with y up, holes clockwise, none touching another or
// itself) to `out`, in their order, each arc `perCircle` points to a whole
// circle; a hole that closes is left out, a shape worn away by an inward
// offset leaves nothing. False, with `out` as it was, when a traced contour
// crosses or touches another, touches itself or crosses itself other than
// into loops of its own, turns over, a tight concave run cannot be cut
// locally, a hole leaves its outer contour or grows round another, or a
// traced shape lies in another's ink.
bool traceOffset(const std::vector<Shape>& shapes, const std::vector<std::size_t>& members, double distance,
                 int perCircle, std::vector<Shape>& out);

// Whether shapes traced one at a time (each as traceOffset gives it) are
// also clear of each other: no two contours meet and none lies in another's
// ink. Then they are what tracing them together gives.
bool apart(const std::vector<Shape>& traced);

} // namespace lw
