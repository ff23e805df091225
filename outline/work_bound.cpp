#include "outline/work_bound.hpp"

#include "base/utf8.hpp"
#include "outline/round_joins.hpp"
#include "platform/device_context.hpp"

#include <cmath>
#include <limits>

namespace lw {

std::uint64_t estimateOutlinePoints(std::string_view text, double sizePoints, double dpi, bool underline,
                                    bool strikeout, std::int32_t widthPercent)
{
    const std::uint64_t characters = utf8Characters(text);
    const double height = std::fabs(sizePoints * dpi / 72.0);
    const double perGlyph =
        kFlattenedPointsFactor * (160.0 + 28.0 * std::sqrt(std::isfinite(height) ? height : 1e300));
    // A decoration is a rectangle: four corners, and GDI repeats the first.
    const double points = double(characters) * perGlyph + 5.0 * (underline + strikeout);
    if (!(points < 1.8e19))
        return std::numeric_limits<std::uint64_t>::max();
    if (widthPercent <= 100)
        return std::uint64_t(std::ceil(points));
    const double widened = std::ceil(std::ceil(points) * std::sqrt(widthPercent / 100.0));
    return widened >= 1.8e19 ? std::numeric_limits<std::uint64_t>::max() : std::uint64_t(widened);
}

std::uint64_t estimateOffsetPoints(std::uint64_t outlinePoints, std::string_view text, double offsetPixels)
{
    if (offsetPixels == 0)
        return outlinePoints;
    const double joins =
        double(utf8Characters(text)) * kOffsetCirclesPerGlyph * pointsPerCircle(offsetPixels, kOffsetArcTolerance);
    const double points = 2.0 * double(outlinePoints) + joins;
    return points < 1.8e19 ? std::uint64_t(std::ceil(points)) : std::numeric_limits<std::uint64_t>::max();
}

double estimateCadSeconds(std::uint64_t points, double offsetPixels)
{
    // Measured on the dense kanji and on kana at 144 pt: the offset takes in
    // some 200,000 points a second (each shape's buffer dominates), the
    // merge and a writer some millions.
    constexpr double kOffsetPointsPerSecond = 200'000, kWrittenPointsPerSecond = 4'000'000;
    return double(points) / kWrittenPointsPerSecond + (offsetPixels != 0 ? double(points) / kOffsetPointsPerSecond : 0);
}

} // namespace lw
