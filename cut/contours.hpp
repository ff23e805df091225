#pragma once
// Contours on the cut-ready grid: closed rings of whole grid points (the
// last point joins the first, never repeated), and shapes, an outer contour
// with the holes inside it. The helpers every stage of cadOutline shares.
//
//   Contour c{{0, 0}, {0, 10}, {10, 10}, {10, 10}, {10, 0}};
//   removeRepeats(c);            // {0,0} {0,10} {10,10} {10,0}
//   orient(c, Role::Outer);      // counter-clockwise with y up

#include "platform/gdi_types.hpp"

#include <cstddef>
#include <cstdint>
#include <span>
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
Extent extentOf(const POINT* points, std::size_t count);

// Drops points that repeat the one before (the first included, against the
// last) and the tips of spikes that go out and come straight back.
void removeRepeats(Contour& contour);
// The same in place on points[0, count): the points kept are then
// points[first, first + count).
struct Kept {
    std::size_t first, count;
};
Kept removeRepeats(POINT* points, std::size_t count);

// At least three distinct points enclosing some area.
bool isUsable(const Contour& contour);

// Whether every point lies on one line (a ring without repeats): no ink
// however the ring runs. A ring of no area that is not flat crosses itself
// into lobes that cancel, a figure-eight, and the nonzero rule fills them.
bool isFlat(const POINT* points, std::size_t count);

// Outer contours counter-clockwise with y up, holes clockwise.
void orient(Contour& contour, Role role);
// The same for a contour whose twiceArea is known.
void orient(Contour& contour, Role role, WideArea area);

// Whether `p` lies inside the ring by the nonzero rule (a point on an edge
// may go either way).
bool encloses(const Contour& contour, POINT p);
bool encloses(const POINT* points, std::size_t count, POINT p);

// A contour in someone else's buffer: `count` points, and after them the
// first point again (points[count] == points[0]), so every edge, the closing
// one included, joins neighbours in memory.
struct RingView {
    const POINT* points = nullptr;
    std::uint32_t count = 0;
};

// The closed figures of a capture, cleaned (removeRepeats) and usable or,
// of no area, not flat (isFlat), in the capture's own device pixels, side
// by side in one buffer: one pass over the points, no allocation per
// figure. `reach` is the largest distance of any captured point from the
// origin along x or y (open figures and cleaned points included). Fills
// `into`, keeping its buffers' room for the next.
struct RingSet {
    std::vector<POINT> points;
    std::vector<RingView> rings;
    std::vector<Extent> extents;
    std::int64_t reach = 0;
    // The box of every point read (all 0 when none was).
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    // Where each ring's figure began among the capture's points (before
    // cleaning): what ties a contour the merge kept to the captured figure.
    std::vector<std::uint32_t> firsts;
};
void ringsOf(std::span<const POINT> points, std::span<const std::uint8_t> types, RingSet& into);
// The same rings cleaned in `points`' own buffer, which `into` takes over
// (`points` is left empty), for a capture nothing reads again: no second
// copy of millions of points. Needs room for one more point a closed figure
// within the buffer's capacity; without it the rings go to `into`'s buffer
// as ringsOf puts them, and `points` is left as it was.
void ringsInPlace(std::vector<POINT>& points, std::span<const std::uint8_t> types, RingSet& into);

// Points [begin, end) of a capture, starting at a figure's first point.
struct PointRange {
    std::size_t begin = 0, end = 0;
};
// ringsOf for these ranges of the points alone, in rising order; `firsts`
// and `reach` count in the whole capture's points as ever.
void ringsOf(std::span<const POINT> points, std::span<const std::uint8_t> types, std::span<const PointRange> ranges,
             RingSet& into);

// A contour of a cut-ready drawing as its points lie somewhere (a ring of
// a RingSet, a contour the clipper made): `count` points from `points`,
// each times `scale`, in that order or reversed. `outer`: an outer contour,
// the holes after it belong to it.
struct Piece {
    const POINT* points = nullptr;
    std::uint32_t count = 0;
    std::int32_t scale = 1; // a power of two, as every grid's scale is
    bool reversed = false, outer = true;
};

} // namespace lw
