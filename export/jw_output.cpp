#include "export/jw_output.hpp"

#include "export/line_sink.hpp"
#include "export/print_form.hpp"
#include "outline/failure.hpp"

#include <cmath>
#include <string>

namespace lw {
namespace {

[[noreturn]] void floatingPointFailure(std::int32_t point)
{
    throw Failure(FailureKind::FloatingPoint, "point " + std::to_string(point));
}

} // namespace

void writeJwOutline(std::ostream& out, CapturedOutline& outline, const JwPlacement& placement)
{
    // Counted in 32 bits: 32,768 points and more are written whole.
    const std::int32_t n = outline.pointCount;
    if (n > 0
        && (std::size_t(n) > outline.pathPoints.size() || std::size_t(n) > outline.pathTypes.size()))
        throw Failure(FailureKind::SubscriptOutOfRange,
                      "point count " + std::to_string(n) + " beyond the captured points");

    const double k = ((placement.twipsPerPixel / 1440) * 25.4) * placement.scale;
    if (!std::isfinite(k))
        throw Failure(FailureKind::FloatingPoint, "scale factor");

    double bottom = 0;
    for (std::int32_t j = 0; j < n; ++j)
        if (outline.pathPoints[std::size_t(j)].y > bottom)
            bottom = outline.pathPoints[std::size_t(j)].y;

    LineSink sink(out);
    auto pointLine = [&](std::int32_t j) {
        const POINT& p = outline.pathPoints[std::size_t(j)];
        const double x = placement.baseX + p.x * k;
        const double y = placement.baseY - (p.y - bottom) * k;
        if (!std::isfinite(x) || !std::isfinite(y))
            floatingPointFailure(j);
        appendPrintForm(sink.text(), x);
        appendPrintForm(sink.text(), y);
        sink.endLine();
    };

    outline.figureCount = 0;
    for (std::int32_t j = 0; j < n; ++j) {
        if (outline.pathTypes[std::size_t(j)] & PT_CLOSEFIGURE) {
            ++outline.figureCount;
            pointLine(j);
            pointLine(j - outline.figureCount + 1);
            sink.line({});
            outline.figureCount = 0;
        } else {
            pointLine(j);
            ++outline.figureCount;
        }
    }
}

} // namespace lw
