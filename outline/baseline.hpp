#pragma once
// Where the baseline of a capture at the origin begins: alignment 0 puts the
// top-left corner of the character cell on (0, 0), the baseline lies the
// font's ascent below it, turned with the text by the escapement.
//
//   MmPlacement mm = baselinePlacement(dc, outline.logFont, 96); // {0, 28, 96} for IPA P Gothic at 32 px

#include "outline/precision.hpp"
#include "platform/device_context.hpp"
#include "platform/gdi_types.hpp"

namespace lw {

// The font's ascent in whole device pixels as the platform places text: the
// distance between a top-aligned and a baseline-aligned line of the font.
// Measured through the path, so it holds for either backend. Uses the
// device context's path; the canvas is not touched.
int captureAscent(DeviceContext& dc, const LOGFONT& logFont);

// The left end of the baseline of the capture at the origin, in device
// pixels, as the origin of the millimetre placement at `dpi`.
MmPlacement baselinePlacement(DeviceContext& dc, const LOGFONT& logFont, double dpi);

} // namespace lw
