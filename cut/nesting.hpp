#pragma once
// The nonzero rule without clipping, for contours whose edges never meet:
// then the contours nest like a tree, the winding inside each follows from
// the contour around it, and a contour is a boundary of the ink exactly
// where the winding turns from zero to non-zero. Most letters of most fonts
// are such; the rest goes to the clipper (mergeNonzero). Both work on the
// rings where they lie (RingView), so nothing is copied.
//
//   NestingScratch scratch;
//   if (!edgesMeet(group, scratch)) nestedBoundaries(group, extents, out, scratch);

#include "cut/contours.hpp"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace lw {

// The buffers the searches below reuse from one group of rings to the next
// (a line of text has a few dozen groups, and most of the cost of a small
// one would be allocation) and, kept by the caller, from one drawing to the
// next. What they held before never changes a result.
class NestingScratch {
public:
    NestingScratch(); // moved, never copied
    struct Buffers; // nesting.cpp's own
    Buffers& buffers() { return *buffers_; }

private:
    std::unique_ptr<Buffers, void (*)(Buffers*)> buffers_;
};

// Whether any two edges touch or cross, an edge and its neighbour in the same
// contour excepted where they only share their common point.
bool edgesMeet(std::span<const RingView> rings, NestingScratch& scratch);

// What a search among the rings did, counted for a caller who asks: the
// pairs of rings whose boxes it compared.
struct NestingWork {
    std::uint64_t boxPairs = 0;
};

// The ring directly around each ring, larger rings first: for ring
// order[k], order[m] of the largest m < k whose box holds its box and which
// encloses its first point (the smallest ring around it when no edges meet,
// the order being by size), else kNoParent. Compares each ring only with the
// rings whose boxes reach across its near side, so a line of text costs in
// proportion to its figures, at any angle.
inline constexpr std::size_t kNoParent = std::size_t(-1);
void parentsOf(std::span<const RingView> rings, std::span<const Extent> extents, std::span<const std::size_t> order,
               std::vector<std::size_t>& parent, NestingScratch& scratch, NestingWork* work = nullptr);

// One contour of the nonzero union: which ring, whether it is an outer
// contour (else a hole of the last outer one before it), and whether it
// runs the other way round from the ring.
struct Boundary {
    std::uint32_t ring;
    bool outer, reversed;
};

// The nonzero union of rings none of whose edges meet (edgesMeet false):
// the rings that bound the ink, appended to `out` shape by shape, each outer
// contour before its holes, as mergeNonzero gives them. `extents` holds
// each ring's extentOf.
void nestedBoundaries(std::span<const RingView> rings, std::span<const Extent> extents, std::vector<Boundary>& out,
                      NestingScratch& scratch);

// Whether `boxes` (each with left, top, right and bottom) spread further
// across y than across x: a sweep then runs along y, so a line of text at
// any angle has only a glyph or two open at once.
template <class Box>
bool spreadAlongY(std::span<const Box> boxes)
{
    if (boxes.empty())
        return false;
    auto left = boxes[0].left, top = boxes[0].top, right = boxes[0].right, bottom = boxes[0].bottom;
    for (const Box& b : boxes) {
        left = std::min(left, b.left);
        top = std::min(top, b.top);
        right = std::max(right, b.right);
        bottom = std::max(bottom, b.bottom);
    }
    return std::int64_t(right) - left < std::int64_t(bottom) - top;
}

} // namespace lw
