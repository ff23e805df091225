#pragma once
// A second way of capturing, which draws the flattened outline segment by
// segment instead of as polygons, so each segment and closing shows apart.
//
//   lw::inspectOutline({"O", font}, dc, outline); // red segments, green closings

#include "outline/capture.hpp"

namespace lw {

// Captures at the origin (alignment 0, the height held in single precision)
// into `outline`, then draws every flattened segment in red, each figure's
// closing segment back to its own first point in green, and the fixed
// magenta mark once per point. Leaves the pen black. The segments are drawn
// moved by `shownAt`, so the drawing can stand where the preview shows the
// text; the outline and the fixed mark stay where the capture puts them.
void inspectOutline(const CaptureSource& source, DeviceContext& dc, CapturedOutline& outline,
                    POINT shownAt = {});

} // namespace lw
