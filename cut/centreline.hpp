#pragma once
// The centreline of an outline: the ink's medial axis (medial_axis.hpp)
// made into lines a pen draws once. Branches that only reach into a corner
// or ripple off a round end are pruned, so a line ends where the letter's
// stroke ends; the rest is joined at its junctions into as few lines as the
// graph allows (the straightest way on where a stroke runs through). Each
// point carries the radius of the disc the ink holds there: half the local
// stroke width.
//
//   CentreLines c = centreline(cutContours(cut.outline), 0.5 * cut.gridScale);
//   for (std::size_t i = 0; i < c.count(); ++i) draw(c.line(i));

#include "cut/contours.hpp"

#include <cstddef>
#include <span>
#include <vector>

namespace lw {

// A point of a centreline in the contours' grid units (y down).
struct CentrePoint {
    double x = 0, y = 0;
    double radius = 0;
};

struct CentreLines {
    // Each line at least two points, none repeating the one before; a line
    // round a counter ends where it starts.
    std::vector<CentrePoint> points;
    std::vector<std::size_t> ends; // one past each line's last point

    std::size_t count() const { return ends.size(); }
    std::span<const CentrePoint> line(std::size_t i) const
    {
        const std::size_t first = i == 0 ? 0 : ends[i - 1];
        return std::span<const CentrePoint>(points).subspan(first, ends[i] - first);
    }
};

// The centreline of closed, oriented contours as medialAxis takes them.
// `tolerance` (grid units, above 0) is how far the lines may stray from the
// exact axis where it curves or is thinned of points, and the least a
// branch must stand out from its junction to be kept. A shape no line is
// left in (a dot) gives a line `tolerance` long at its centre.
CentreLines centreline(std::span<const Contour> contours, double tolerance);

} // namespace lw
