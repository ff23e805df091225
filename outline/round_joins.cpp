#include "outline/round_joins.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lw {

int pointsPerCircle(double radius, double tolerance)
{
    const double r = std::fabs(radius);
    if (!(tolerance < r))
        return 8;
    const double step = 2 * std::acos(1 - tolerance / r);
    return int(std::clamp(std::ceil(2 * std::numbers::pi / step), 8.0, 4096.0));
}

} // namespace lw
