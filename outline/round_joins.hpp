#pragma once
// How finely a round join is drawn: the offset for a cutter, the ink of a
// round pen and the bound on a capture's work all count its points alike.
//
//   int n = pointsPerCircle(radius, kOffsetArcTolerance); // a whole circle

namespace lw {

// How far the chords of a round join may stray from the arc, in the
// capture's device pixels: as far as its curves stray from the font's.
inline constexpr double kOffsetArcTolerance = 0.25;

// The points a round join puts on a whole circle of `radius` so that its
// chords stay within `tolerance` of the arc: from 8 to 4096.
int pointsPerCircle(double radius, double tolerance);

} // namespace lw
