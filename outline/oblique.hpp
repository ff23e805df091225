#pragma once
// The oblique: a line's glyphs slanted about its baseline by the device
// context's world transform, so each platform shears its own glyph outlines
// before flattening. The line's direction is the font's escapement.
//
//   lw::SlantedLine slanted(dc, logFont, std::tan(15 * pi / 180), 0, 0); // the font selected
//   lw::TextOutA(dc, 0, 0, bytes.data(), count);                         // inside a path

#include "platform/device_context.hpp"
#include "platform/gdi_types.hpp"
#include "platform/world_transform.hpp"

namespace lw {

// The map that slants and turns a line laid upright from (x, y) on its
// baseline: each point moves along the line by `slant` times its height
// above the baseline, then the line turns about (x, y) by
// `escapementDegrees`, counter-clockwise on a y-down screen.
XFORM obliqueTransform(double slant, double escapementDegrees, double x, double y);

// Sets the slant and the turn for text placed at the top-aligned reference
// point (x, y) in the selected font, for as long as it lives; a slant of 0
// sets nothing. The text is then drawn upright (slantedFont) from the
// baseline's own start, baseline-aligned, and the world transform alone
// turns it: so no platform's reading of an escapement or of a top-aligned
// point under a transform (Wine places both its own way) moves the line.
// Draw the whole line inside it, and read the path after it is gone.
class SlantedLine {
public:
    SlantedLine(DeviceContext& dc, const LOGFONT& logFont, double slant, int x, int y);
    ~SlantedLine();
    SlantedLine(const SlantedLine&) = delete;
    SlantedLine& operator=(const SlantedLine&) = delete;

    bool slanted() const { return set_; }
    // Where to draw, baseline-aligned, while slanted: the reference point
    // moved down the font's ascent across the line, to the whole pixel.
    int x() const { return x_; }
    int y() const { return y_; }

private:
    DeviceContext& dc_;
    bool set_ = false;
    int x_ = 0, y_ = 0;
};

// The description to draw slanted text with: upright, as the transform turns it.
LOGFONT slantedFont(const LOGFONT& logFont);

} // namespace lw
