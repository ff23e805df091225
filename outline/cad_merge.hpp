#pragma once
// The nonzero union of contours: every region where the contours wind
// around a point (in either direction) becomes ink, bounded by one outer
// contour per connected shape with its holes. Exact on the integer grid:
// new points arise only where edges cross, rounded to the grid. Boost.Polygon
// does the work; coordinates must stay within +-2^29.
//
//   std::vector<Shape> shapes = mergeNonzero({glyph, underline});

#include "outline/cad_contours.hpp"

#include <vector>

namespace lw {

// Shapes in no particular order, each contour usable and oriented (outer
// counter-clockwise with y up, holes clockwise). The contours are used up.
std::vector<Shape> mergeNonzero(std::vector<Contour>&& contours);

} // namespace lw
