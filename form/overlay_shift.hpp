#pragma once
// Where the inspection drawing stands in the preview. Its capture is at the
// origin (the top-left corner at 0, 0), the preview's at the preview's
// centre; shown where it was captured, the text would jump up and to the
// left, and a fitted view would shrink it to take in the fixed mark. Moved
// by this shift, it lies over the preview's own text, at the same scale.
//
//   inspectOutline(source, dc, outline, inspectionShift(source));

#include "outline/capture.hpp"

namespace lw {

// The move from the text as the inspection captures it to the same text as
// the preview places it: the difference of the two captures' box centres.
// None for a text with no points.
POINT inspectionShift(const CaptureSource& source);

} // namespace lw
