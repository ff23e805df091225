#pragma once
// The outline as HP-GL for pen plotters and vinyl cutters: "IN;", the pen,
// then for each closed figure one PU to its start and one PD through its
// points back to the start, 40 plotter units a millimetre, y up. The
// drawing's lower left lies at the plotter's origin (0,0): plotters and
// cutters clip or refuse what lies below or left of it.
//
// Rounding: every coordinate is the drawing's exact one, moved by a whole
// number of units, rounded to the nearest unit: within 1/80 mm (0.0125 mm)
// in x and in y. With curves, an arc (AA) has its centre so rounded and
// starts at a rounded point; its end is brought to the next rounded point
// by a short PD where the plotter's arithmetic lands elsewhere, so each arc
// lies within 0.06 mm of the drawing's arc.
//
//   writeHpgl(out, outline, placement, {}, {.overcutMm = 0.5, .pen = 2});

#include "base/byte_sink.hpp"
#include "cut/cut.hpp"
#include "outline/captured_outline.hpp"
#include "outline/open_lines.hpp"
#include "outline/precision.hpp"

namespace lw {

inline constexpr double kHpglUnitsPerMm = 40;
// A larger overcut would cut through the next letters: a typing error.
inline constexpr double kHpglLongestOvercutMm = 10;
inline constexpr int kHpglHighestPen = 255;

struct HpglForm {
    // Each contour's cut goes on past its start by this length along it, so
    // a cutter's blade closes the cut (0: it ends at the start).
    double overcutMm = 0;
    int pen = 1;
    bool operator==(const HpglForm&) const = default;
};

// The exact curves, one per closed figure, written as arcs (AA) within
// `tolerance` grid units of them where a figure has some; null: points.
struct HpglCurves {
    const ExactCurves* curves = nullptr;
    double tolerance = 0;
};

// Writes the whole file; an empty outline gives "IN;SP1;\nPU;\n" and no figure.
void writeHpgl(ByteSink& out, const CapturedOutline& outline, const MmPlacement& mm, const HpglCurves& curves,
               const HpglForm& form);

// Open lines the same way, each a PU to its first point and one PD through
// the rest, never back to its start; a line that rounds to one unit is a
// PD on the spot. Open lines have no contour to go on round: no overcut.
void writeOpenLinesHpgl(ByteSink& out, const OpenLines& lines, int pen);

} // namespace lw
