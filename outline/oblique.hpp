#pragma once
// The oblique: a line's glyphs slanted about its baseline by the device
// context's world transform, so each platform shears its own glyph outlines
// before flattening. The line's direction is the font's escapement.
//
//   lw::SelectedFont font(dc, lw::CreateFontIndirectA(lw::toAnsiLogFont(lw::slantedFont(logFont))));
//   lw::SlantedLine slanted(dc, logFont, std::tan(15 * pi / 180), 0, 0);
//   lw::SetTextAlign(dc, lw::TA_LEFT | lw::TA_BASELINE);
//   lw::ExtTextOutA(dc, slanted.x(), slanted.y(), bytes.data(), count, advances); // inside a path

#include "platform/device_context.hpp"
#include "platform/gdi_types.hpp"
#include "platform/world_transform.hpp"

namespace lw {

// The map that slants a line about its baseline through (x, y): each point
// moves along the line by `slant` times its height above the baseline. The
// line runs at `escapementDegrees`, counter-clockwise on a y-down screen;
// with `turn` it is laid upright and the map turns it too, else it is laid
// along the line already.
XFORM obliqueTransform(double slant, double escapementDegrees, double x, double y, bool turn);

// Sets the slant for text placed at the top-aligned reference point (x, y)
// in the selected font (made by slantedFont), for as long as it lives; a
// slant of 0 sets nothing. The text is then drawn from the baseline's own
// start, baseline-aligned: where the platform moves a top-aligned point
// down to its baseline after the transform (Wine does) or before it, that
// start is a point the shear keeps, so both place the line alike. Draw the
// whole line inside it, and read the path after it is gone.
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

// The description to draw slanted text with: at a quarter turn of a face
// that is not vertical, upright for the transform to turn; else turned by
// its escapement, the glyphs too (the advanced mode turns them by the
// orientation).
LOGFONT slantedFont(const LOGFONT& logFont);

} // namespace lw
