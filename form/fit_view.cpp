#include "form/fit_view.hpp"

#include <algorithm>
#include <cmath>

namespace lw {

POINT FitTransform::operator()(POINT p) const
{
    return {std::int32_t(std::floor((p.x - fromX) * scale + toX + 0.5)),
            std::int32_t(std::floor((p.y - fromY) * scale + toY + 0.5))};
}

FitTransform fitToArea(std::span<const POINT> points, int width, int height)
{
    if (points.empty())
        return {};
    const auto [left, right] = std::minmax_element(points.begin(), points.end(),
                                                   [](POINT a, POINT b) { return a.x < b.x; });
    const auto [top, bottom] = std::minmax_element(points.begin(), points.end(),
                                                   [](POINT a, POINT b) { return a.y < b.y; });
    const double drawnWidth = double(right->x) - left->x + 1, drawnHeight = double(bottom->y) - top->y + 1;
    return {std::min((width - 2 * kFitMargin) / drawnWidth, (height - 2 * kFitMargin) / drawnHeight),
            left->x + drawnWidth / 2,
            top->y + drawnHeight / 2,
            width / 2.0,
            height / 2.0};
}

} // namespace lw
