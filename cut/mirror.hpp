#pragma once
// A cut-ready drawing mirrored about its anchor: x turns left and right over
// (for text read through glass or in a mould), y top and bottom; contours
// keep their turning sense (outer counter-clockwise with y up).
//
//   MmPlacement mm = anchoredPlacement(baseline, box, Anchor::Centre, 30);
//   mirror(cut, mm, Mirror::X);

#include "cut/cad_outline.hpp"
#include "outline/anchor.hpp"
#include "outline/precision.hpp"

namespace lw {

// Mirrors the figures about the placement's origin; the placement follows.
void mirror(CadOutline& cut, MmPlacement& placement, Mirror how);

} // namespace lw
