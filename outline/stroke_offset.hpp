#pragma once
// The ink of open lines drawn with a round pen: each line grown by a radius
// on both sides, round at its ends and bends, as closed figures on a grid,
// ready for the cut-ready merge that unites them (cut/cad_outline.hpp). The
// grid is `dpi` device pixels per inch with the origin at (0, 0) mm and y
// down, as a capture's pixels are.
//
//   CapturedOutline ink = strokeInk(lines, 0.25, 2540);
//   CadOutline cut = cadOutline(ink, {.merge = true});

#include "outline/captured_outline.hpp"
#include "outline/open_lines.hpp"

namespace lw {

// Figures of the lines grown by `radiusMm` (above 0); the round parts'
// chords stay within a quarter of a grid step of the arcs.
CapturedOutline strokeInk(const OpenLines& lines, double radiusMm, double dpi);

} // namespace lw
