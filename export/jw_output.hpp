#pragma once
// The outline as point lines of the JW output: millimetres times the chosen
// scale, y up, device x = 0 on the base point's x and the lowest point on its
// y; each closed figure is repeated back to its first point and followed by
// an empty line.
//
//   writeJwOutline(out, outline, {.baseX = 100, .baseY = 50, .scale = 1, .twipsPerPixel = 15});
//   // " 100  52.6458333333333 \r\n ..."

#include "base/byte_sink.hpp"
#include "base/design.hpp"
#include "outline/captured_outline.hpp"

namespace lw {

struct JwPlacement {
    double baseX = 0;
    double baseY = 0;
    // The chosen scale s.
    double scale = 0;
    // The screen's twips per pixel in x (15 at 96 dpi).
    double twipsPerPixel = design::kTwipsPerPixel;
};

// Writes points 0 to pointCount - 1 as point lines (x and y in the print form,
// CR LF). A factor or coordinate beyond the double range is the
// floating-point failure, a pointCount beyond the arrays subscript out of
// range; lines written before either stay whole.
void writeJwOutline(ByteSink& out, const CapturedOutline& outline, const JwPlacement& placement);

} // namespace lw
