#pragma once

namespace lw {

// The width of one screen pixel in twips: 1440 / the primary screen's logical
// dots per inch in x (15 at 96 dpi). Read once, on the first call, so every
// reader (capture, inspection drawing, JW output) sees the same value.
// Needs a QGuiApplication.
double screenTwipsPerPixelX();

} // namespace lw
