#pragma once
// The medial axis of a cut-ready drawing, on both sides of its contours:
// inside the ink (the letters) and in the sheet around and between them.
// Every point of it is the centre of a disc that touches the contours at
// two places or more; its radius is half the width of the ink or of the gap
// there. Boost.Polygon's segment Voronoi works it out exactly on the grid;
// the branches that run into convex corners (radius 0) are left out, as
// they say nothing of a width. The sheet is closed by a frame far around
// the drawing, so both sides are bounded.
//
//   AxisGraph axis = medialAxis(contours);
//   for (const AxisEdge& e : axis.edges) widthAt(axis.nodes[e.a]);

#include "cut/contours.hpp"

#include <cstdint>
#include <span>
#include <vector>

namespace lw {

enum class Side : std::uint8_t { Ink, Sheet };

// The contour number medialAxis gives the frame around the drawing.
inline constexpr std::uint32_t kFrameContour = 0xFFFFFFFF;

// A point of the axis, in the contours' grid units (device orientation, y
// down): a Voronoi vertex, or the narrowest point of an edge between two.
struct AxisNode {
    double x = 0, y = 0;
    double radius = 0;
    Side side = Side::Ink;
    std::uint32_t contour = 0; // a contour the node's disc touches
};

// A stretch of the axis between two nodes along which the radius never
// dips below the smaller of theirs. Its narrowest place `at` is the
// narrower node, or its middle where both are as wide (between parallel
// sides); the disc there touches contours `contours[0]` and `contours[1]`
// at `feet`.
struct AxisEdge {
    std::uint32_t a = 0, b = 0;
    std::uint32_t contours[2]{};
    double at[2]{};
    double feet[2][2]{}; // x, y on contours[0], then on contours[1]
    // Between a contour's corner and a side the edge is a parabola's arc,
    // not the chord from a to b: its focus is the corner, its directrix the
    // side's line through `side[0]` and `side[1]`.
    bool bent = false;
    double focus[2]{};
    double side[2][2]{};
};

// A point where two contours meet (the merge leaves a counter touching the
// outside at a corner as two contours): the sheet, and the ink, are as
// narrow as nothing there.
struct AxisTouch {
    POINT at;
    std::uint32_t contour;
};

struct AxisGraph {
    std::vector<AxisNode> nodes;
    std::vector<AxisEdge> edges;
    std::vector<AxisTouch> touches;
};

// The axis of closed, oriented contours (cadOutline's: outer contours
// counter-clockwise with y up, holes clockwise) that neither cross nor
// share an edge. Coordinates within +-2^29.
AxisGraph medialAxis(std::span<const Contour> contours);

} // namespace lw
