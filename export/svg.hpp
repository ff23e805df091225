#pragma once
// An SVG picture of a captured outline, true to size: width and height in
// millimetres, one user unit a millimetre, at 1:1 with the placement's
// origin at (0, 0) and y down as SVG has it, so the picture spans exactly
// the DXF drawing's extents (mirrored in y). One <path> holds every closed
// figure as a subpath, filled by the nonzero winding rule the font's
// outlines are made for; nothing else is drawn, so a cutter or a converter
// finds the letters and no other shape.
//
//   writeSvg(out, outline, baselinePlacement(dc, outline.logFont, 2541));

#include "base/byte_sink.hpp"
#include "cut/cut.hpp"
#include "outline/captured_outline.hpp"
#include "outline/precision.hpp"

#include <string>

namespace lw {

// An empty outline gives a picture of no size with an empty path.
// With `curves` (one entry per closed figure), a figure that has an exact
// curve is written as its straight segments and cubic Béziers, and the
// picture spans the exact box of those.
void writeSvg(ByteSink& out, const CapturedOutline& outline, const MmPlacement& mm,
              const ExactCurves* curves = nullptr);

// Opens, writes, closes; a file that cannot be written is a lw::Failure.
void writeSvgFile(const std::string& path, const CapturedOutline& outline, const MmPlacement& mm,
                  const ExactCurves* curves = nullptr);

// Millimetres as every picture writes them: to the nanometre, locale-free,
// without trailing zeros; far below any grid a capture works at, and the
// same text for the same value.
std::string svgMillimetres(double value);

} // namespace lw
