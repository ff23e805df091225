#pragma once
// The parts of the sheet the ink encloses: the counters, and the pockets
// that letters touching only at a point seal off. A point of contact holds
// the ink together as a cutter makes it, so the sheet on both sides of it
// falls apart there; the holes alone do not tell those pockets.
//
//   for (const EnclosedSheet& e : enclosedSheet(cutContours(cut.outline)))
//       if (e.hole == kNoHole) report(e.x, e.y, e.area);

#include "cut/contours.hpp"

#include <cstdint>
#include <span>
#include <vector>

namespace lw {

inline constexpr std::uint32_t kNoHole = 0xFFFFFFFF;

struct EnclosedSheet {
    Shape shape;       // the sheet's part, the ink inside it as its holes
    double area = 0;   // square grid units, the ink inside taken away
    double x = 0, y = 0; // a point inside it, away from its edges where it can
    // The hole of `contours` it is the counter of; kNoHole for a pocket
    // sealed where ink touches ink.
    std::uint32_t hole = kNoHole;
};

// Every part of the sheet around `contours` (merged and oriented as
// cadOutline makes them) that does not reach the sheet around the drawing.
std::vector<EnclosedSheet> enclosedSheet(std::span<const Contour> contours);

} // namespace lw
