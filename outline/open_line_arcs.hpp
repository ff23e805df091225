#pragma once
// Open lines as arcs and straight segments, for drawings whose readers take
// arcs (DXF's bulges). Each line's points are taken in runs: the longest run
// one arc, or one straight segment, passes within the tolerance of (every
// point of it, and every segment between them, within the tolerance of the
// arc, and the arc within the tolerance of them); a point no run of three
// fits keeps its segment to the next.
//
//   OpenLines fewer = linesAsArcs(lines, 0.005);
//   // fewer.bulges: the arc from each point to the next, 0 straight

#include "outline/open_lines.hpp"

#include <span>
#include <vector>

namespace lw {

// `lines` with only the points that start or end a run, and one bulge a
// point (tan(sweep / 4), positive counter-clockwise with y up; the last of
// each line 0) in `bulges`. The widths and the pen go with the points.
struct ArcLines {
    OpenLines lines;
    std::vector<double> bulges;
};
ArcLines linesAsArcs(const OpenLines& lines, double toleranceMm);

// The box of the lines drawn with one bulge a point (as ArcLines holds
// them), which may bow past their points.
std::optional<MmBox> arcLinesBox(const OpenLines& lines, std::span<const double> bulges);

} // namespace lw
