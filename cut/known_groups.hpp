#pragma once
// What the merge found for a group of rings (merge.hpp's groups: rings no
// other ring's box touches), kept for the next group that is the same rings
// moved by whole pixels. A line of text repeats its glyphs, and the capture
// places every copy of a glyph by whole pixels, so most groups of a drawing,
// and of the next drawing in the same workspace, are such copies. Whether
// edges meet and which rings bound the ink depend only on where the rings
// lie relative to each other, so a copy's answer holds exactly; a group is
// taken for a copy only when every point matches, never by its summary.
// The clipper's contours are kept too, but serve only the same rings where
// they lay: its rounding depends on where they lie, not only on their shape.
//
//   KnownGroups known;
//   if (const KnownGroup* k = known.find(views, extents)) use(k->meet, known.boundaries(*k));
//   else known.keep(views, extents, meet, boundaries);

#include "cut/contours.hpp"
#include "cut/nesting.hpp"

#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

namespace lw {

struct KnownGroup {
    std::uint64_t key = 0;
    std::uint32_t pointsAt = 0, pointCount = 0; // its rings' points, relative to the first
    std::uint32_t ringsAt = 0, ringCount = 0;   // each ring's point count
    std::uint32_t boundariesAt = 0, boundaryCount = 0;
    bool meet = false;            // some edges meet: the clipper's
    std::uint32_t next = kNone;   // another group with the same key
    static constexpr std::uint32_t kNone = std::uint32_t(-1);
};

// The groups met so far, up to a fixed number of points in all (a drawing
// of many different glyphs would otherwise keep a copy of itself): beyond
// it groups are no longer kept, and the next drawing starts afresh. What it
// holds never changes a result, only how soon it is found.
class KnownGroups {
public:
    // The group kept that `rings` (with their extentOf) are a copy of, or null.
    const KnownGroup* find(std::span<const RingView> rings, std::span<const Extent> extents) const;
    // Keeps what the merge found for the group; `boundaries` index `rings`.
    // The group as kept, or null where there is no room.
    const KnownGroup* keep(std::span<const RingView> rings, std::span<const Extent> extents, bool meet,
                           std::span<const Boundary> boundaries);
    // The clipper's shapes for a group whose edges meet, on the grid
    // `scale`, with its first ring's first point at `at`: null until kept.
    // Kept shapes stay where they are until the store is emptied.
    const std::vector<Shape>* clipped(const KnownGroup& group, int scale, POINT at) const;
    const std::vector<Shape>& keepClipped(const KnownGroup& group, int scale, POINT at, std::vector<Shape> shapes);
    std::span<const Boundary> boundaries(const KnownGroup& group) const
    {
        return std::span(boundaries_).subspan(group.boundariesAt, group.boundaryCount);
    }
    // Called as a drawing starts: a store that filled up is emptied.
    void startDrawing();

    static constexpr std::size_t kMostPoints = std::size_t(1) << 16;

private:
    std::vector<KnownGroup> groups_;
    std::vector<POINT> points_;
    std::vector<std::uint32_t> ringCounts_;
    std::vector<Boundary> boundaries_;
    // The clipper's shapes by the group, the grid and where it lay.
    struct Place {
        std::uint32_t group;
        int scale;
        POINT at;
        friend bool operator==(const Place&, const Place&) = default;
    };
    struct PlaceHash {
        std::size_t operator()(const Place& p) const;
    };
    std::vector<std::vector<Shape>> clipped_;
    std::unordered_map<Place, std::uint32_t, PlaceHash> clippedAt_;
    std::size_t clippedPoints_ = 0;
    std::unordered_map<std::uint64_t, std::uint32_t> byKey_; // the latest group of each key
};

} // namespace lw
