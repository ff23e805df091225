#include "form/overlay_shift.hpp"

#include "outline/segment_drawing.hpp"

#include <algorithm>
#include <optional>

namespace lw {
namespace {

// Twice the centre of the outline's box, so the halves cancel exactly.
std::optional<POINT> doubledCentre(const CapturedOutline& outline)
{
    const std::size_t count = outline.pointCount > 0 ? std::size_t(outline.pointCount) : 0;
    if (count == 0)
        return std::nullopt;
    const auto points = std::span<const POINT>(outline.pathPoints).first(count);
    const auto [left, right] = std::minmax_element(points.begin(), points.end(),
                                                   [](POINT a, POINT b) { return a.x < b.x; });
    const auto [top, bottom] = std::minmax_element(points.begin(), points.end(),
                                                   [](POINT a, POINT b) { return a.y < b.y; });
    return POINT{left->x + right->x, top->y + bottom->y};
}

} // namespace

POINT inspectionShift(const CaptureSource& source)
{
    NullCanvas nothing;
    DeviceContext dc(nothing);
    CapturedOutline atOrigin, centred;
    inspectOutline(source, dc, atOrigin);
    drawFlattenPath(Placement::PreviewCentre, source, dc, centred);
    const auto from = doubledCentre(atOrigin), to = doubledCentre(centred);
    if (!from || !to)
        return {};
    // The captures differ by whole pixels; a height rounded differently in
    // the inspection's single precision leaves at most half a pixel over.
    return {(to->x - from->x) / 2, (to->y - from->y) / 2};
}

} // namespace lw
