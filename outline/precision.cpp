#include "outline/precision.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace lw {
namespace {

std::string shortest(double value)
{
    char buffer[32];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, ec == std::errc() ? end : buffer);
}

} // namespace

double dpiForStep(double stepMm)
{
    // 25.4 / 0.1 is 253.99999999999997 in binary: a resolution a hair from
    // a whole number of dots is that number.
    const double dpi = kMmPerInch / stepMm;
    const double whole = std::round(dpi);
    return std::max(design::kDpi, std::fabs(dpi - whole) <= 1e-9 * dpi ? whole : dpi);
}

double dpiForWholeEm(double dpi, float sizePoints)
{
    if (!(sizePoints > 0) || !std::isfinite(dpi))
        return dpi;
    const double pixels = double(sizePoints) * dpi / 72;
    // A hair above a whole number is that number, not the next one.
    const double whole = std::max(1.0, std::ceil(pixels - 1e-9 * pixels));
    return whole * 72 / double(sizePoints);
}

double dpiForPrecision(double stepMm, const PointEstimate& pointsAt, std::uint64_t maxPoints)
{
    const auto withinBound = [&](double dpi) { return pointsAt(dpi) <= maxPoints; };
    const std::string range = "from " + shortest(kFinestStepMm) + " to " + shortest(kCoarsestStepMm) + " mm";
    if (!(stepMm >= kFinestStepMm && stepMm <= kCoarsestStepMm))
        throw PrecisionError("--precision must be " + range + " (the largest grid step at 1:1), or " +
                             kClassicWording);
    const double dpi = dpiForStep(stepMm);
    if (withinBound(dpi))
        return dpi;
    // The estimate grows with the resolution: halve the range of steps
    // until the finest step within the bound is known to a few digits.
    double fine = stepMm, coarse = kCoarsestStepMm;
    if (!withinBound(dpiForStep(coarse)))
        throw PrecisionError("--precision: this text at this size is above " + std::to_string(maxPoints) +
                             " points at any precision; use a shorter text or a smaller size");
    for (int i = 0; i < 60 && coarse > fine * 1.0001; ++i) {
        const double middle = std::sqrt(fine * coarse);
        (withinBound(dpiForStep(middle)) ? coarse : fine) = middle;
    }
    // The smallest step of three digits that is itself allowed.
    const double unit = std::pow(10.0, std::floor(std::log10(coarse)) - 2);
    double finest = std::floor(coarse / unit) * unit;
    while (!withinBound(dpiForStep(finest)))
        finest += unit;
    char digits[32];
    const auto written = std::to_chars(digits, digits + sizeof digits, finest, std::chars_format::general, 3);
    throw PrecisionError("--precision " + shortest(stepMm) + " would make the outline of this text above " +
                         std::to_string(maxPoints) + " points; for this text and size it must be from " +
                         std::string(digits, written.ptr) + " to " + shortest(kCoarsestStepMm) + " mm");
}

} // namespace lw
