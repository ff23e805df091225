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
    // The line is laid upright from (x, y): sheared there (a point above
    // the baseline, y < 0 from it, goes forward), then turned about it
    // counter-clockwise on the screen, R = (c s; -s c).
    const double m00 = c, m01 = s - slant * c;
    const double m10 = -s, m11 = c + slant * s;
    return XFORM{float(m00), float(m10), float(m01), float(m11), float(x - (m00 * x + m01 * y)),
                 float(y - (m10 * x + m11 * y))};
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
    slanted.lfEscapement = slanted.lfOrientation = 0;
    return slanted;
}

} // namespace lw
