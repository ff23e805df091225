#pragma once
// A glyph flattened once for one map onto the device, with its origin at
// (0, 0), and kept with the glyph's outline. Placed again at an origin of
// whole pixels the same glyph gives these points moved by the origin, bit
// for bit what flattening it there gives, wherever ShiftCheck found every
// rounding far enough from a tie for the origin's own rounding error not to
// matter. So a capture at a whole-pixel origin (every line at 0°) copies the
// points instead of evaluating the curves again.

#include "platform/device_context.hpp"
#include "platform/freetype/flatten.hpp"
#include "platform/gdi_types.hpp"

#include <cstdint>
#include <vector>

namespace lw {

struct FlatGlyph {
    double m00 = 0, m01 = 0, m10 = 0, m11 = 0; // the map onto the device it was made for
    // The largest |x| and |y| of an origin the points hold for; 0 for none.
    double reach = 0;
    // Names these points for the glyph runs of the paths they are copied into.
    std::uint64_t serial = newSerial();
    std::vector<POINT> points;
    std::vector<std::uint8_t> types;
    // The glyph's unflattened figures at the origin (0, 0) under the same
    // map, made when a path is first read with its curves.
    std::shared_ptr<const GlyphCurves> curves;
    // The same flattening before rounding, made when the glyph is first
    // placed turned (text on an arc): turned and rounded there.
    std::vector<PointF> exact;
    std::vector<std::uint8_t> exactTypes;

    // A serial never handed out before in this process.
    static std::uint64_t newSerial();

    bool madeFor(double a, double b, double c, double d) const
    {
        return m00 == a && m01 == b && m10 == c && m11 == d;
    }
    // Whether the points hold, moved, at this origin: whole pixels within reach.
    bool holdsAt(double ox, double oy) const
    {
        return reach > 0 && ox >= -reach && ox <= reach && oy >= -reach && oy <= reach
            && double(std::int32_t(ox)) == ox && double(std::int32_t(oy)) == oy;
    }
};

// A path sink (as the path walk feeds it: points, and cubics after the
// figure's last point) that decides whether flattening the glyph at the
// origin (0, 0) rounds every point as it would at any whole-pixel origin up
// to `reach` away. The cubic segment counts must agree too. `radius` bounds
// |x| and |y| of every control point at the origin (0, 0). A coordinate is
// sure when it is exact on a fine binary grid (sums with the origin then
// lose nothing; only where the map has no cross term, so the point is one
// product) or lies farther from a rounding tie than a generous bound on the
// rounding error of the whole evaluation; a segment count when the same
// bound on the second differences cannot move it.
class ShiftCheck {
public:
    ShiftCheck(double reach, double radius, bool xAlone, bool yAlone);

    bool open() const { return true; }
    void point(PointF p, std::uint8_t type);
    void cubic(PointF c1, PointF c2, PointF e, std::uint8_t endType);
    bool sure() const { return sure_; }

private:
    bool onGrid(double v) const;
    bool far(double v) const;
    bool sureEnd(PointF p);

    double margin_;
    bool xAlone_, yAlone_;
    bool sure_ = true;
    PointF last_{};
};

} // namespace lw
