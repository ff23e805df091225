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

// The font's ascent in whole device pixels as the platform places text: how
// far below the reference point of a top-aligned line its baseline lies,
// from the face's own metrics (never from a drawing of it, whose points
// could differ with the alignment). Neither the path nor the canvas is
// touched.
int captureAscent(DeviceContext& dc, const LOGFONT& logFont);

// The left end of the baseline of the capture at the origin, in device
// pixels, as the origin of the millimetre placement at `dpi`.
MmPlacement baselinePlacement(DeviceContext& dc, const LOGFONT& logFont, double dpi);

} // namespace lw
