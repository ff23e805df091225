#pragma once
// The unflattened path of a capture, as the platform drew it (device
// pixels, y down), and its closed figures as runs of straight and cubic
// segments. What the drawings for CAD take when they write exact curves.
//
//   CurvedPath path;                      // filled by capturePath
//   for (const CurvedFigure& f : curvedFigures(path)) ...

#include "platform/device_context.hpp"

#include <cstdint>
#include <span>
#include <vector>

namespace lw {

struct CurvedPath {
    std::vector<CurvePoint> points;
    std::vector<std::uint8_t> types;
    // Glyphs kept as their copies' curves (readCurvedGlyphs), in order; each
    // stands before its `at` point.
    std::vector<CurvedRun> runs;
};

// A straight segment has only `end`; a cubic has two controls as well.
struct CurveSegment {
    bool cubic = false;
    CurvePoint c1, c2, end;
};

// A closed run: from `start` through the segments, and back to the start in
// a straight line where the last segment ends elsewhere.
struct CurvedFigure {
    CurvePoint start;
    std::vector<CurveSegment> segments;
};

// Figures start at each move and after each close mark, as the flattening
// starts them; a figure without any segment is left out. The runs' figures
// come in their places, moved.
std::vector<CurvedFigure> curvedFigures(const CurvedPath& path);

// The same, leaving out run r where leaveOut[r] is set (a shorter list
// leaves out none beyond it).
std::vector<CurvedFigure> curvedFigures(const CurvedPath& path, std::span<const std::uint8_t> leaveOut);

// The figures of points and types alone, as curvedFigures, appended to
// `out`, each moved by (dx, dy).
void appendCurvedFigures(std::span<const CurvePoint> points, std::span<const std::uint8_t> types, double dx,
                         double dy, std::vector<CurvedFigure>& out);

// The same figure run the other way round.
CurvedFigure reversed(const CurvedFigure& figure);
// The same, in place: no new storage unless it closes in a straight line
// and has no room for that one more segment.
void reverse(CurvedFigure& figure);

// Every coordinate times `factor`.
CurvedFigure scaled(const CurvedFigure& figure, double factor);
// The figure as a contour of a cut-ready drawing takes it: run the other way
// round where the contour is `turned`, then on the grid `gridScale` times
// finer. In place.
void asContour(CurvedFigure& figure, bool turned, double gridScale);
// The same, in place.
void scale(CurvedFigure& figure, double factor);

// The pixel a point falls in, as the flattening rounds a figure's start.
POINT rounded(CurvePoint p);

// The point at parameter t in [0, 1] of a segment that starts at `from`.
CurvePoint pointOn(const CurveSegment& segment, CurvePoint from, double t);

} // namespace lw
