#pragma once
// Contours on the cut-ready grid: closed rings of whole grid points (the
// last point joins the first, never repeated), and shapes, an outer contour
// with the holes inside it. The helpers every stage of cadOutline shares.
//
//   Contour c{{0, 0}, {0, 10}, {10, 10}, {10, 10}, {10, 0}};
//   removeRepeats(c);            // {0,0} {0,10} {10,10} {10,0}
//   orient(c, Role::Outer);      // counter-clockwise with y up

#include "platform/gdi_types.hpp"

#include <vector>

namespace lw {

using Contour = std::vector<POINT>;

struct Shape {
    Contour outer;
    std::vector<Contour> holes;
};

enum class Role { Outer, Hole };

// Twice the signed area in device orientation (y down): negative for a ring
// that runs counter-clockwise with y up. Exact for coordinates within 2^30.
__extension__ typedef __int128 WideArea;
WideArea twiceArea(const Contour& contour);

// A contour's twiceArea and bounding box, found in one pass.
struct Extent {
    WideArea area = 0;
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};
Extent extentOf(const Contour& contour);

// Drops points that repeat the one before (the first included, against the
// last) and the tips of spikes that go out and come straight back.
void removeRepeats(Contour& contour);

// At least three distinct points enclosing some area.
bool isUsable(const Contour& contour);

// Outer contours counter-clockwise with y up, holes clockwise.
void orient(Contour& contour, Role role);
// The same for a contour whose twiceArea is known.
void orient(Contour& contour, Role role, WideArea area);

// Whether `p` lies inside the ring by the nonzero rule (a point on an edge
// may go either way).
bool encloses(const Contour& contour, POINT p);

} // namespace lw
