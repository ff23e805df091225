#include "outline/arc_guide.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lw {

void drawArcGuide(DeviceContext& dc, const ArcLine& line, ArcPoint centre)
{
    // A light grey a little apart from the white fill and the black outline.
    constexpr Rgb kGuide{192, 192, 192};
    const double r = std::fabs(line.radius);
    // Segments of about four pixels, as a line on the screen needs, and no
    // more than a fine grid's circle could use.
    const int segments = int(std::clamp(std::ceil(2 * std::numbers::pi * r / 4), 16.0, 2048.0));
    const Rgb pen = dc.penColour();
    dc.setPenColour(kGuide);
    auto at = [&](int k) {
        const double a = 2 * std::numbers::pi * k / segments;
        return POINT{std::int32_t(std::lround(centre.x + r * std::cos(a))),
                     std::int32_t(std::lround(centre.y - r * std::sin(a)))};
    };
    const POINT first = at(0);
    MoveToEx(dc, first.x, first.y, nullptr);
    for (int k = 1; k <= segments; ++k) {
        const POINT p = at(k);
        LineTo(dc, p.x, p.y);
    }
    dc.setPenColour(pen);
}

} // namespace lw
