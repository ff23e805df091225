#pragma once
// The exact curves behind cut-ready contours. A contour that is one of the
// captured figures as it was flattened (cleaned, perhaps turned round) takes
// that figure's curve from the unflattened path; a contour the merge or the
// offset changed has no exact curve and stays a polyline.
//
//   CadOutline cut = cadOutline(outline, {.curves = true}, &path);
//   if (cut.curves[k]) writeCurve(*cut.curves[k]);   // else the polyline

#include "outline/captured_outline.hpp"
#include "outline/curved_path.hpp"

#include <optional>
#include <vector>

namespace lw {

using ExactCurves = std::vector<std::optional<CurvedFigure>>;

// One entry per closed figure of `cut`, in order, in the units of `cut`'s
// grid (`gridScale` grid units a device pixel of `captured`).
ExactCurves exactCurvesFor(const CapturedOutline& captured, const CurvedPath& path, const CapturedOutline& cut,
                           int gridScale);

} // namespace lw
