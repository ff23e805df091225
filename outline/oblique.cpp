#include "outline/oblique.hpp"

#include <cmath>
#include <numbers>

namespace lw {

XFORM obliqueTransform(double slant, double escapementDegrees, double x, double y, double ascent)
{
    const double radians = escapementDegrees * std::numbers::pi / 180;
    double c = std::cos(radians), s = std::sin(radians);
    // Exact quarter turns, as the layout turns them.
    if (std::fmod(escapementDegrees, 90.0) == 0) {
        c = std::round(c);
        s = std::round(s);
    }
    // Along the line u = (c, -s), down across it v = (s, c); a point p goes
    // to p - slant ((p - b) . v) u: above the baseline (v < 0) forward.
    const double m00 = 1 - slant * c * s, m01 = -slant * c * c;
    const double m10 = slant * s * s, m11 = 1 + slant * s * c;
    // The baseline b = (x, y) + ascent v, so b . v = (x, y) . v + ascent.
    const double along = slant * (x * s + y * c + ascent);
    return XFORM{float(m00), float(m10), float(m01), float(m11), float(along * c), float(-along * s)};
}

SlantedLine::SlantedLine(DeviceContext& dc, const LOGFONT& logFont, double slant, int x, int y) : dc_(dc)
{
    TEXTMETRICA metrics;
    if (slant == 0 || !GetTextMetricsA(dc, &metrics))
        return;
    if (SetGraphicsMode(dc, GM_ADVANCED) == 0)
        return;
    set_ = SetWorldTransform(dc, obliqueTransform(slant, logFont.lfEscapement / 10.0, x, y, metrics.tmAscent));
    if (!set_)
        SetGraphicsMode(dc, GM_COMPATIBLE);
}

SlantedLine::~SlantedLine()
{
    if (!set_)
        return;
    ModifyWorldTransform(dc_, nullptr, MWT_IDENTITY);
    SetGraphicsMode(dc_, GM_COMPATIBLE);
}

LOGFONT slantedFont(const LOGFONT& logFont)
{
    LOGFONT slanted = logFont;
    slanted.lfOrientation = slanted.lfEscapement;
    return slanted;
}

} // namespace lw
