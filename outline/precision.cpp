#include "outline/precision.hpp"

#include <algorithm>
#include <cmath>

namespace lw {

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

PrecisionOutcome dpiForPrecision(double stepMm, const PointEstimate& pointsAt, std::uint64_t maxPoints)
{
    using Refusal = PrecisionOutcome::Refusal;
    const auto withinBound = [&](double dpi) { return pointsAt(dpi) <= maxPoints; };
    if (!(stepMm >= kFinestStepMm && stepMm <= kCoarsestStepMm))
        return {Refusal::OutOfRange};
    const double dpi = dpiForStep(stepMm);
    if (withinBound(dpi))
        return {Refusal::None, dpi};
    // The estimate grows with the resolution: halve the range of steps
    // until the finest step within the bound is known to a few digits.
    double fine = stepMm, coarse = kCoarsestStepMm;
    if (!withinBound(dpiForStep(coarse)))
        return {Refusal::AboveBoundAlways};
    for (int i = 0; i < 60 && coarse > fine * 1.0001; ++i) {
        const double middle = std::sqrt(fine * coarse);
        (withinBound(dpiForStep(middle)) ? coarse : fine) = middle;
    }
    // The smallest step of three digits that is itself allowed.
    const double unit = std::pow(10.0, std::floor(std::log10(coarse)) - 2);
    double finest = std::floor(coarse / unit) * unit;
    while (!withinBound(dpiForStep(finest)))
        finest += unit;
    return {Refusal::AboveBound, 0, finest};
}

} // namespace lw
