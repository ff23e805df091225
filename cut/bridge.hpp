#pragma once
// A stencil's bridge: the strip of sheet kept across a letter's stroke that
// holds an island, from the island's side of the stroke to the sheet
// around the letter, in grid units (device orientation).

#include <cstdint>

namespace lw {

struct Bridge {
    double fromX = 0, fromY = 0; // on the hole that bounds the island
    double toX = 0, toY = 0;     // on the letter's outer contour
    double width = 0;
};

// An island no bridge of the width asked for could hold: where it lies (a
// point inside it, grid units) and its area (square grid units).
struct UnheldIsland {
    double x = 0, y = 0;
    double area = 0;
};

} // namespace lw
