#include "export/jw_output.hpp"

#include "export/line_sink.hpp"
#include "export/print_form.hpp"
#include "base/failure.hpp"

#include <cmath>
#include <string>

namespace lw {
namespace {

[[noreturn]] void floatingPointFailure(std::size_t point)
{
    throw Failure(FailureKind::FloatingPoint, "point " + std::to_string(point));
}

} // namespace

void writeJwOutline(ByteSink& out, const CapturedOutline& outline, const JwPlacement& placement)
{
    // Counted in 32 bits: 32,768 points and more are written whole.
    const std::size_t n = checkPointCount(outline, outline.pointCount);

    const double k = ((placement.twipsPerPixel / 1440) * 25.4) * placement.scale;
    if (!std::isfinite(k))
        throw Failure(FailureKind::FloatingPoint, "scale factor");

    double bottom = 0;
    for (std::size_t j = 0; j < n; ++j)
        if (outline.pathPoints[j].y > bottom)
            bottom = outline.pathPoints[j].y;

    LineSink sink(out);
    auto pointLine = [&](const POINT& p, std::size_t index) {
        const double x = placement.baseX + p.x * k;
        const double y = placement.baseY - (p.y - bottom) * k;
        if (!std::isfinite(x) || !std::isfinite(y))
            floatingPointFailure(index);
        appendPrintForm(sink.text(), x);
        appendPrintForm(sink.text(), y);
        sink.endLine();
    };

    // Each closed figure is repeated back to its first point and followed by
    // an empty line.
    for (const Figure& figure : figures(outline, n)) {
        for (std::size_t i = 0; i < figure.points.size(); ++i)
            pointLine(figure.points[i], figure.first + i);
        if (figure.closed) {
            pointLine(figure.points.front(), figure.first);
            sink.line({});
        }
    }
}

} // namespace lw
