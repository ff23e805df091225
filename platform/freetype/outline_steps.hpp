#pragma once
// A FreeType outline in font units as the steps the path walks: FreeType's
// own decomposition order, but every on-curve point a TrueType outline
// leaves implied (the midpoint of two off-curve points) kept exact, where
// FT_Outline_Decompose cuts it to a whole unit and so moves the curve by up
// to half a unit in x and in y, which grows with the size drawn.

#include "platform/freetype/font_library.hpp"

#include <vector>

struct FT_Outline_; // FreeType's outline, without FreeType's headers

namespace lw {

// Appends the outline's steps to `steps`; false, with `steps` as it was,
// for an outline FreeType would refuse (a contour that starts on a cubic
// control point, a cubic control point alone, a contour index out of order).
bool appendOutlineSteps(const FT_Outline_& outline, std::vector<OutlineStep>& steps);

} // namespace lw
