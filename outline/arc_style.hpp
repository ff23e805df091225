#pragma once
// The arc a line is set on, as a user chooses it: millimetres at 1:1 and
// degrees. A radius of 0 is a straight line, so the default style changes
// nothing.
//
//   lw::ArcStyle plate{.radiusMm = 40};                 // clockwise round the top
//   lw::ArcStyle dial{.radiusMm = -30, .atDegrees = 300}; // inside, lower right

#include <optional>

namespace lw {

// Which point of the text stands at the arc's angle.
enum class ArcAlong { Start, Middle, End };

// Where the drawing's origin lies when it is a point of the text: on the
// circle, the ascent outside it, halfway, or the descent inside.
enum class ArcRise { Baseline, Top, Middle, Bottom };

struct ArcStyle {
    double radiusMm = 0;              // positive: outside, clockwise; negative: inside
    std::optional<double> atDegrees;  // counter-clockwise from +x; defaultArcDegrees unless chosen
    std::optional<double> fitDegrees; // the text spread over this angle by its spacing
    ArcAlong along = ArcAlong::Middle;
    std::optional<ArcRise> origin;    // none: the circle's centre

    bool isArc() const { return radiusMm != 0; }
    friend bool operator==(const ArcStyle&, const ArcStyle&) = default;
};

// The largest angle a text may be spread over: the whole circle.
inline constexpr double kWholeCircleDegrees = 360;

// The angle a line stands at unless one is chosen: the top of the circle
// outside, the bottom inside.
inline double defaultArcDegrees(double radius) { return radius < 0 ? 270 : 90; }

} // namespace lw
