#include "form/save_preview.hpp"

#include "form/save_kinds.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

namespace lw {

SaveGrid saveGrid(SavePrecision precision, float sizePoints, double screenTwipsPerPixel)
{
    const double dpi = saveDpi(precision, sizePoints);
    return {dpi, saveAdvances(precision), (1440.0 / screenTwipsPerPixel) / dpi};
}

bool isScreenGrid(const SaveGrid& grid, double screenTwipsPerPixel)
{
    return grid.advances == Advances::Device && 1440.0 / grid.dpi == screenTwipsPerPixel;
}

DeviceArea gridArea(const DeviceArea& shown, POINT reference, double toScreen)
{
    // Beyond the 32-bit range a glyph is far outside anyway: clamp.
    const auto at = [&](double screen, std::int32_t origin, double side) {
        const double grid = (screen - origin) / toScreen + side;
        return static_cast<std::int32_t>(std::clamp(side < 0 ? std::floor(grid) : std::ceil(grid), -2e9, 2e9));
    };
    return {at(shown.left, reference.x, -1), at(shown.top, reference.y, -1),
            at(shown.right + 1, reference.x, 1), at(shown.bottom + 1, reference.y, 1)};
}

namespace {

// std::lround without its call (no SSE4.1 rounding in the baseline ISA):
// half away from zero. The truncation is exact below 2^63, and so is the
// fraction left, so the comparisons with one half are too.
long roundHalfAway(double v)
{
    const long whole = static_cast<long>(v);
    const double fraction = v - static_cast<double>(whole);
    // Without branches: which way a point's fraction falls is a coin toss.
    return whole + long(fraction >= 0.5) - long(fraction <= -0.5);
}

} // namespace

void drawSavePreview(const CapturedOutline& outline, double toScreen, POINT reference, DeviceContext& dc)
{
    dc.canvas().clear();
    std::vector<POINT> shown;
    shown.reserve(outline.heldCount()); // once, not as each longer figure comes
    for (const Figure& figure : figures(outline)) {
        if (!figure.closed)
            continue;
        shown.clear();
        for (const POINT& p : figure.points) {
            const POINT q{reference.x + static_cast<std::int32_t>(roundHalfAway(p.x * toScreen)),
                          reference.y + static_cast<std::int32_t>(roundHalfAway(p.y * toScreen))};
            if (shown.empty() || q.x != shown.back().x || q.y != shown.back().y)
                shown.push_back(q);
        }
        while (shown.size() > 1 && shown.back().x == shown.front().x && shown.back().y == shown.front().y)
            shown.pop_back();
        if (shown.size() > 1)
            Polygon(dc, shown.data(), static_cast<int>(shown.size()));
    }
}

} // namespace lw
