#pragma once
// The nonzero union of contours: every region where the contours wind
// around a point (in either direction) becomes ink, bounded by one outer
// contour per connected shape with its holes, none of which touches itself
// (where the ink's edge does, it is cut into two). Exact on the integer grid:
// new points arise only where edges cross, rounded to the grid. Boost.Polygon
// does the work where edges meet; elsewhere the contours only nest
// (nesting.hpp) and stay as they are.
//
//   ringsOf(points, types, rings);
//   Merged merged = mergeNonzero(rings, 64, scratch);
//   for (const Piece& p : merged.pieces) write(p);

#include "cut/contours.hpp"
#include "cut/known_groups.hpp"
#include "cut/nesting.hpp"

#include <memory>
#include <vector>

namespace lw {

struct Merged {
    std::vector<Shape> clipped; // contours the clipper made, on the grid
    // Shape by shape, each outer contour before its holes, usable and
    // oriented (outer counter-clockwise with y up, holes clockwise). They
    // point into the rings, into `clipped` and into the store of known
    // groups, which they must not outlive.
    std::vector<Piece> pieces;
    // The groups the pieces come in, in order: where each group's pieces
    // start, and where its first ring's figure began among the capture's
    // points (RingSet::firsts). A group is a set of rings no other ring's
    // box touches; groups come in the order of their first rings.
    struct Group {
        std::uint32_t first, pieceStart;
    };
    std::vector<Group> groups;
    // Where no store of known groups was lent: the merge's own, which some
    // pieces point into.
    std::unique_ptr<KnownGroups> ownKnown{};
};

// The rings' nonzero union on the grid `scale` times finer than the rings'
// own; coordinates times `scale` must stay within +-2^29. `scratch` only
// spares allocations; `known` spares the search of a group that is a copy
// of one met before (known_groups.hpp), and learns the groups met here.
Merged mergeNonzero(const RingSet& rings, int scale, NestingScratch& scratch, KnownGroups& known);
Merged mergeNonzero(const RingSet& rings, int scale, NestingScratch& scratch);

// The ink of one ring alone by the nonzero rule as simple contours on the
// grid `scale` times finer, each running the way the ring winds around its
// inside: a figure-eight's two lobes, one each way round.
std::vector<Contour> lobesOf(const RingView& ring, int scale);

// The ink of `shapes` (which do not overlap) less every region `cuts`
// encloses, as shapes whose contours are simple and oriented as
// mergeNonzero's, on the same grid.
std::vector<Shape> cutAway(const std::vector<Shape>& shapes, const std::vector<Contour>& cuts);

} // namespace lw
