#pragma once
// The precision a user asks for, the largest step of the point grid in
// millimetres at 1:1, as the device resolution a capture works at, and the
// map from device pixels to millimetres that the drawing exports share.
// A finer grid is a finer device pixel: the letters keep their size and
// their structure, and the flattening tolerance, in device pixels, follows.
//
//   double dpi = dpiForStep(0.01); // 2540
//   MmPoint p = toMillimetres({.originX = 0, .originY = 28, .dpi = 96}, POINT{96, 28}); // {25.4, 0}

#include "base/design.hpp"
#include "base/lengths.hpp"
#include "platform/gdi_types.hpp"

#include <cstdint>
#include <functional>

namespace lw {

// The classic screen pixel: the grid of every capture at 96 dpi.
inline constexpr double kClassicStepMm = kMmPerInch / design::kDpi;
// The word that chooses the classic grid, the designed capture at 96 dpi,
// and the one wording that names it wherever a user chooses a precision.
inline constexpr const char* kClassicWord = "classic";
inline constexpr const char* kClassicWording = "classic (0.26 mm, the screen pixel at 96 dpi)";
// The grid of a drawing for CAD unless the user chooses another.
inline constexpr double kCadStepMm = 0.01;
// The allowed steps; finer ones are refused, coarser ones keep the classic grid.
inline constexpr double kFinestStepMm = 0.001;
inline constexpr double kCoarsestStepMm = 1000;

// The device resolution whose pixel is at most `stepMm`: 25.4 / step dots
// per inch, never below the classic 96. Unchecked.
double dpiForStep(double stepMm);

// The resolution at or above `dpi` at which `sizePoints` is a whole number
// of device pixels. The font's em is a whole number of pixels; at this
// resolution the letters keep their exact size, where a rounded em would
// make them up to half a pixel larger or smaller at each resolution.
//
//   dpiForWholeEm(254, 24); // 255: 24 pt is 85 px
double dpiForWholeEm(double dpi, float sizePoints);

// An upper estimate of the outline's points at a device resolution (dpi),
// growing with it: the work bound's estimate for the text and size.
using PointEstimate = std::function<std::uint64_t(double dpi)>;

// What dpiForPrecision finds: the device resolution for a step, or why the
// capture cannot serve it, with what the user needs to choose another.
struct PrecisionOutcome {
    enum class Refusal {
        None,             // served at `dpi`
        OutOfRange,       // the step lies outside [kFinestStepMm, kCoarsestStepMm]
        AboveBoundAlways, // the text at its size is above the bound at every step
        AboveBound,       // above the bound at this step; `finestStepMm` is within it
    };
    Refusal refusal = Refusal::None;
    double dpi = 0;
    // The finest step of three significant digits within the bound.
    double finestStepMm = 0;
};

// dpiForStep after the checks: the step must lie in [kFinestStepMm,
// kCoarsestStepMm] and the estimate at its resolution must stay within
// `maxPoints`; otherwise the refusal, and for a text too large at that step
// the finest step it allows. The caller words the refusal for its user.
//
//   dpiForPrecision(0.01, [&](double dpi) { return estimateOutlinePoints(text, 24, dpi, false, false); },
//                   kMaxOutlinePoints).dpi;
PrecisionOutcome dpiForPrecision(double stepMm, const PointEstimate& pointsAt, std::uint64_t maxPoints);

// Where a capture's device pixels lie in millimetres at 1:1, y up: the
// origin (device pixels) goes to (0, 0), one pixel is 25.4 / dpi mm.
struct MmPlacement {
    double originX = 0;
    double originY = 0;
    double dpi = design::kDpi;
};

struct MmPoint {
    double x = 0;
    double y = 0;
};

inline MmPoint toMillimetres(const MmPlacement& placement, POINT p)
{
    const double mmPerPixel = kMmPerInch / placement.dpi;
    return {(p.x - placement.originX) * mmPerPixel, (placement.originY - p.y) * mmPerPixel};
}

} // namespace lw
