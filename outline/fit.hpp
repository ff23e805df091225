#pragma once
// A line fitted to a length: the style's fit turned into the spacing (or
// the width) that makes the text's advance that long, measured in the font
// the capture draws with.
//
//   lw::TextStyle asked{.fitMm = 100};
//   lw::TextStyle set = lw::fittedStyle(dc, source); // set.spacing: points between characters

#include "outline/capture.hpp"
#include "outline/text_style.hpp"

namespace lw {

// The style with its fit resolved for this capture (its size, advances and
// resolution), fitMm back to 0; the style itself when it asks no fit.
// By spacing, the space between every two characters is the same and the
// first and last characters stay at the ends; one character alone is
// fitted by its width. By width, the whole percentage nearest the length,
// and the little that a whole percentage leaves by the spacing. Device
// advances round the spacing to whole pixels, so only linear ones are
// exact; a text with no advance is left as it is.
TextStyle fittedStyle(DeviceContext& dc, const CaptureSource& source);

// The height of a capital "H" in this face, as a share of the em (0 when
// the face draws no ink for it): what a size given for the capitals is
// divided by. Measured on the outline at the designed weight: platforms
// thicken a face without a bold each their own way at a large em, and a
// bold's thickening is the bold's, not the size's.
double capHeightPerEm(DeviceContext& dc, const WindowFont& font);

} // namespace lw
