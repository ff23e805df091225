#pragma once
// The nonzero rule without clipping, for contours whose edges never meet:
// then the contours nest like a tree, the winding inside each follows from
// the contour around it, and a contour is a boundary of the ink exactly
// where the winding turns from zero to non-zero. Most letters of most fonts
// are such; the rest goes to the clipper (mergeNonzero).
//
//   if (!edgesMeet(group)) shapes = mergeNested(group);

#include "outline/cad_contours.hpp"

#include <vector>

namespace lw {

// Whether any two edges touch or cross, an edge and its neighbour in the same
// contour excepted where they only share their common point.
bool edgesMeet(const std::vector<const Contour*>& contours);

// The nonzero union of contours none of whose edges meet (edgesMeet false),
// as mergeNonzero gives it. The contours that bound the ink are moved into
// the shapes. `extents` holds each contour's extentOf.
std::vector<Shape> mergeNested(const std::vector<Contour*>& contours, const std::vector<Extent>& extents);

} // namespace lw
