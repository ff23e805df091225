#pragma once
// The preview of what the save gives, in the window's own mode: the text
// captured on the save's grid (its device resolution and its advances),
// then drawn scaled down to the screen about the preview's reference
// point. A styled text is then as wide on screen as in the saved file;
// the classic grid, which JW and WIT receive, can make it a few % wider.
//
//   const SaveGrid grid = saveGrid(SavePrecision::Hundredth, 24, 15);
//   drawSavePreview(fine, grid.toScreen, {230, 150}, view.previewDC());

#include "form/form_view.hpp"
#include "outline/captured_outline.hpp"
#include "outline/text_output.hpp"
#include "platform/device_context.hpp"

#include <optional>

namespace lw {

// The save's grid for a size, and how it maps to the screen's pixels.
struct SaveGrid {
    double dpi = 96;
    Advances advances = Advances::Device;
    double toScreen = 1; // screen pixels per pixel of the grid
};

// The grid saveOutline captures at for `precision` and `sizePoints`, seen on
// a screen of `screenTwipsPerPixel`.
SaveGrid saveGrid(SavePrecision precision, float sizePoints, double screenTwipsPerPixel);

// Whether a capture on `grid` is the screen's own capture (the classic grid
// on a 96 dpi screen): then the preview needs no second grid.
bool isScreenGrid(const SaveGrid& grid, double screenTwipsPerPixel);

// The part of the grid's pixels that shows in `shown` (screen pixels) when
// the grid's origin lies at `reference`, a grid pixel wider on every side so
// that whatever touches an edge pixel is kept.
DeviceArea gridArea(const DeviceArea& shown, POINT reference, double toScreen);

// Clears the canvas of `dc` and draws each closed figure of `outline` (grid
// pixels, its origin at `reference` on the screen) as a polygon in screen
// pixels, rounded to the nearest; a point that repeats the one before once
// rounded is left out, so a figure keeps at least its first point.
void drawSavePreview(const CapturedOutline& outline, double toScreen, POINT reference, DeviceContext& dc);

} // namespace lw
