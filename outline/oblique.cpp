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

// Whether the transform turns the line as well: at a quarter turn the turn
// is exact, and GDI's advanced mode advances a line turned by its font
// there by its own rule (measured under Wine: 4 px a character apart at
// 90°); a vertical "@" face and any other angle keep the font's escapement,
// where the platform turns its vertical forms and rounds its advances as
// in the designed capture.
bool turnedByTransform(const LOGFONT& logFont)
{
    return logFont.lfEscapement % 900 == 0 && logFont.lfFaceName[0] != u'@';
}

} // namespace

XFORM obliqueTransform(double slant, double escapementDegrees, double x, double y, bool turn)
{
    const auto [c, s] = turnOf(escapementDegrees);
    double m00, m01, m10, m11;
    if (turn) {
        // Laid upright from (x, y): sheared there (a point above the
        // baseline, y < 0 from it, goes forward), then turned about it
        // counter-clockwise on the screen, R = (c s; -s c).
        m00 = c, m01 = s - slant * c;
        m10 = -s, m11 = c + slant * s;
    } else {
        // Laid along the line already: along it u = (c, -s), down across it
        // v = (s, c); a point p goes to p - slant ((p - b) . v) u.
        m00 = 1 - slant * c * s, m01 = -slant * c * c;
        m10 = slant * s * s, m11 = 1 + slant * s * c;
    }
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
    set_ = SetWorldTransform(dc, obliqueTransform(slant, escapement, x_, y_, turnedByTransform(logFont)));
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
    if (turnedByTransform(logFont))
        slanted.lfEscapement = 0;
    slanted.lfOrientation = slanted.lfEscapement;
    return slanted;
}

} // namespace lw
