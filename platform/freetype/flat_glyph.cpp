#include "platform/freetype/flat_glyph.hpp"

#include <algorithm>
#include <atomic>
#include <cmath>

namespace lw {
namespace {

// Evaluating a point of a cubic from control points within B of zero errs
// by less than about 400 units in the last place of B, at the origin (0, 0)
// and at the moved one alike; 2^-40 of B is some twenty times that.
constexpr double kErrorPerReach = 0x1p-40;
// Coordinates on this grid within 2^31 add to any origin within 2^31 exactly.
constexpr double kGrid = 0x1p20;
constexpr double kGridLimit = 0x1p31;

} // namespace

std::uint64_t FlatGlyph::newSerial()
{
    static std::atomic<std::uint64_t> next{1};
    return next.fetch_add(1, std::memory_order_relaxed);
}

ShiftCheck::ShiftCheck(double reach, double radius, bool xAlone, bool yAlone)
    : margin_(kErrorPerReach * (reach + 2 * radius + 1)), xAlone_(xAlone), yAlone_(yAlone)
{
}

bool ShiftCheck::onGrid(double v) const
{
    const double scaled = v * kGrid;
    return std::fabs(v) < kGridLimit && scaled == std::trunc(scaled);
}

// The pixel is floor(v + 0.5): it is sure when v + 0.5 lies well away from
// every whole number.
bool ShiftCheck::far(double v) const
{
    const double w = v + 0.5;
    return std::fabs(w - std::round(w)) > margin_;
}

bool ShiftCheck::sureEnd(PointF p)
{
    return ((xAlone_ && onGrid(p.x)) || far(p.x)) && ((yAlone_ && onGrid(p.y)) || far(p.y));
}

void ShiftCheck::point(PointF p, std::uint8_t)
{
    sure_ = sure_ && sureEnd(p);
    last_ = p;
}

void ShiftCheck::cubic(PointF c1, PointF c2, PointF e, std::uint8_t)
{
    const PointF p0 = last_;
    last_ = e;
    if (!sure_)
        return;
    sure_ = sureEnd(e);

    // The segment count from second differences known only within the margin.
    const double ax = p0.x - 2 * c1.x + c2.x, ay = p0.y - 2 * c1.y + c2.y;
    const double bx = c1.x - 2 * c2.x + e.x, by = c1.y - 2 * c2.y + e.y;
    auto low = [this](double v) { return std::max(0.0, std::fabs(v) - margin_); };
    auto high = [this](double v) { return std::fabs(v) + margin_; };
    const double m2Low = std::max(low(ax) * low(ax) + low(ay) * low(ay), low(bx) * low(bx) + low(by) * low(by));
    const double m2High =
        std::max(high(ax) * high(ax) + high(ay) * high(ay), high(bx) * high(bx) + high(by) * high(by));
    const int n = flatteningSegments(p0, c1, c2, e, kFlatness);
    if (flatteningSegmentsBySquareRoot(m2Low, kFlatness) != n || flatteningSegmentsBySquareRoot(m2High, kFlatness) != n
        || flatteningSegments(m2Low, kFlatness) != n || flatteningSegments(m2High, kFlatness) != n) {
        sure_ = false;
        return;
    }

    // The points between, as flattenCubic evaluates them. With every
    // control of a coordinate on the grid, the moved curve has the very same
    // coefficients, and only the last sum, with the start, rounds otherwise:
    // a point that rounds onto a tie from above (or hits it) stays on its
    // side anywhere; from below it might not.
    const double cx = 3 * (c1.x - p0.x), cy = 3 * (c1.y - p0.y);
    const double bbx = 3 * (c2.x - 2 * c1.x + p0.x), bby = 3 * (c2.y - 2 * c1.y + p0.y);
    const double aax = e.x - p0.x - cx - bbx, aay = e.y - p0.y - cy - bby;
    const bool xGrid = xAlone_ && onGrid(p0.x) && onGrid(c1.x) && onGrid(c2.x) && onGrid(e.x);
    const bool yGrid = yAlone_ && onGrid(p0.y) && onGrid(c1.y) && onGrid(c2.y) && onGrid(e.y);
    auto sure = [this](double a, double b, double c, double start, double t, bool grid) {
        const double h = ((a * t + b) * t + c) * t;
        const double v = h + start;
        if (far(v))
            return true;
        if (!grid)
            return false;
        // v + error is h + start exactly (two-sum); the tie is a half below
        // the nearest whole number of v + 0.5.
        const double hv = v - start;
        const double error = (h - hv) + (start - (v - hv));
        const double tie = std::round(v + 0.5) - 0.5;
        return (v - tie) + error >= 0 && v - tie >= 0;
    };
    const double step = 1.0 / n;
    for (int i = 1; i < n && sure_; ++i) {
        const double t = i * step;
        sure_ = sure(aax, bbx, cx, p0.x, t, xGrid) && sure(aay, bby, cy, p0.y, t, yGrid);
    }
}

} // namespace lw
