#include "outline/oblique.hpp"

#include <cmath>
#include <numbers>
#include <utility>

namespace lw {

namespace {

// cos and sin of the escapement, exact at quarter turns as the layout turns.
std::pair<double, double> turnOf(double escapementDegrees)
{
    const double radians = escapementDegrees * std::numbers::pi / 180;
    if (std::fmod(escapementDegrees, 90.0) == 0)
        return {std::round(std::cos(radians)), std::round(std::sin(radians))};
    return {std::cos(radians), std::sin(radians)};
}

} // namespace

XFORM obliqueTransform(double slant, double escapementDegrees, double x, double y)
{
    const auto [c, s] = turnOf(escapementDegrees);
    // Along the line u = (c, -s), down across it v = (s, c); a point p goes
    // to p - slant ((p - b) . v) u: above the baseline (v < 0) forward.
    const double m00 = 1 - slant * c * s, m01 = -slant * c * c;
    const double m10 = slant * s * s, m11 = 1 + slant * s * c;
    const double along = slant * (x * s + y * c);
    return XFORM{float(m00), float(m10), float(m01), float(m11), float(along * c), float(-along * s)};
}

SlantedLine::SlantedLine(DeviceContext& dc, const LOGFONT& logFont, double slant, int x, int y) : dc_(dc)
{
    TEXTMETRICA metrics;
    if (slant == 0 || !GetTextMetricsA(dc, &metrics))
        return;
    const double escapement = logFont.lfEscapement / 10.0;
    const auto [c, s] = turnOf(escapement);
    x_ = int(std::lround(x + metrics.tmAscent * s));
    y_ = int(std::lround(y + metrics.tmAscent * c));
    if (SetGraphicsMode(dc, GM_ADVANCED) == 0)
        return;
    set_ = SetWorldTransform(dc, obliqueTransform(slant, escapement, x_, y_));
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
