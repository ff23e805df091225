#pragma once
// An SVG picture of a captured outline, for people who would rather look
// than read: one <path> in device pixels with every closed figure as a
// subpath, filled black by the nonzero winding rule on a white ground, so
// counters and the strokes that stand inside them show as the font means.

#include "outline/captured_outline.hpp"

#include <ostream>
#include <string>

namespace lw {

// `gridScale`: the outline's points lie on a grid that many times finer than
// a device pixel (a cut-ready outline); the picture stays in device pixels.
void writeSvg(std::ostream& out, const CapturedOutline& outline, int gridScale = 1);

// Opens, writes, closes; a file that cannot be written is a lw::Failure.
void writeSvgFile(const std::string& path, const CapturedOutline& outline, int gridScale = 1);

} // namespace lw
