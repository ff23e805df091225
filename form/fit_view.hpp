#pragma once
// Fit to preview: the view that shows all of a drawing, scaled and centred
// in the preview's drawing area with a margin, whatever its size. A view of
// the drawing only; the capture and every export stay as they are.
//
//   const FitTransform fit = fitToArea(points, 461, 301);
//   POINT shown = fit(points[0]);

#include "platform/gdi_types.hpp"

#include <span>

namespace lw {

// Room left around a fitted drawing, in pixels.
inline constexpr int kFitMargin = 8;

struct FitTransform {
    double scale = 1;
    double fromX = 0, fromY = 0; // the drawing's centre
    double toX = 0, toY = 0;     // the area's centre

    // Rounded to the nearest pixel, a half up.
    POINT operator()(POINT p) const;
};

// The drawing's extent counts whole pixels (right - left + 1), so a drawing of
// one pixel is still fitted. No points: the drawing as it is.
FitTransform fitToArea(std::span<const POINT> points, int width, int height);

} // namespace lw
