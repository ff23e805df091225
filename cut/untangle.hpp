#pragma once
// A traced contour that crosses itself, as where the walls of a slot close
// at its neck and leave a hole below it, split into the loops it bounds:
// cut at each crossing and joined across it, and of the loops that gives,
// those where the contour winds once the way it runs (its ink, or for a
// hole its room) kept, the loops it winds round twice or not at all gone.
//
//   std::vector<Contour> same, reversed;
//   if (untangle(moved, twiceArea(original) > 0, same, reversed)) { /* ... */ }

#include "cut/contours.hpp"

#include <vector>

namespace lw {

// Appends to `same` the kept loops that run as `positive` says (twiceArea
// above 0) and to `reversed` those that run the other way (a hole in what
// `same` bounds). False, with both as they were, where the contour touches
// itself rather than crossing, runs along itself, or crosses itself more
// often than a slot's neck does (the general offset resolves those). A
// contour that does not cross itself is one loop, kept as it is.
bool untangle(const Contour& contour, bool positive, std::vector<Contour>& same, std::vector<Contour>& reversed);

} // namespace lw
