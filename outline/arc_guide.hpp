#pragma once
// The circle a line on an arc stands on, drawn on the preview as a thin
// guide line: outside any path, so no outline, and no file written from
// one, ever holds it.
//
//   lw::drawArcGuide(previewDC, line, arcCentre(line, {230, 150}, true));

#include "outline/arc_layout.hpp"
#include "platform/device_context.hpp"

namespace lw {

// The circle of `line` about `centre` (device pixels) in a light grey, in
// segments of about four pixels; the pen colour is put back.
void drawArcGuide(DeviceContext& dc, const ArcLine& line, ArcPoint centre);

} // namespace lw
