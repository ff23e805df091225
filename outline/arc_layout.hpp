#pragma once
// Where each character of a line set on a circle stands: its advance's
// middle on the circle, its baseline the tangent there. A positive radius
// reads clockwise on the outside of the circle, a negative one
// counter-clockwise on the inside, the two ways a round plate is lettered.
// Angles are the drawing's: degrees counter-clockwise from the +x axis, y up.
//
//   ArcLine line{.radius = 200, .atDegrees = 90};
//   std::vector<ArcGlyph> glyphs = arcGlyphs(line, {30, 20, 30}, 2); // middle at the top

#include "outline/arc_style.hpp"

#include <vector>

namespace lw {

struct ArcLine {
    double radius = 0;        // pixels; the sign picks outside or inside
    double atDegrees = 90;    // where `along` stands
    ArcAlong along = ArcAlong::Middle;
};

// One character: its advance's middle at `angleDegrees` on the circle,
// whose centre is (0, 0); `turnDegrees` turns its baseline from the +x axis
// onto the tangent (counter-clockwise, y up).
struct ArcGlyph {
    double angleDegrees = 0;
    double turnDegrees = 0;
    double x = 0, y = 0; // the advance's middle, y up
};

// The line's length along the circle: the advances, and `spacing` between
// each two of them.
double arcLength(const std::vector<double>& advances, double spacing);

// The spacing that spreads the advances over `degrees` of the circle; 0
// for fewer than two characters.
double spacingToFit(const std::vector<double>& advances, double radius, double degrees);

// The characters placed; every length in the same unit as the radius.
std::vector<ArcGlyph> arcGlyphs(const ArcLine& line, const std::vector<double>& advances, double spacing);

// Where the point `along` of the line stands on a circle `rise` outside
// the baseline (towards the glyphs' tops: out for a positive radius, in
// for a negative one), y up.
struct ArcPoint {
    double x = 0, y = 0;
};
ArcPoint arcPointAt(const ArcLine& line, double rise);

} // namespace lw
