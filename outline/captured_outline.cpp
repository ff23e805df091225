#include "outline/captured_outline.hpp"

#include "base/failure.hpp"

#include <string>

namespace lw {

std::size_t checkPointCount(const CapturedOutline& outline, std::int32_t count)
{
    if (count <= 0)
        return 0;
    if (std::size_t(count) > outline.pathPoints.size() || std::size_t(count) > outline.pathTypes.size())
        throw Failure(FailureKind::SubscriptOutOfRange,
                      "point count " + std::to_string(count) + " beyond the captured points");
    return std::size_t(count);
}

} // namespace lw
