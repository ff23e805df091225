#include "outline/segment_drawing.hpp"

#include "base/failure.hpp"
#include "base/numbers.hpp"
#include "outline/fit.hpp"
#include "outline/text_output.hpp"

#include <cmath>

namespace lw {
namespace {

POINT moved(POINT p, POINT by) { return {p.x + by.x, p.y + by.y}; }

} // namespace

void inspectOutline(const CaptureSource& source, DeviceContext& dc, CapturedOutline& outline, POINT shownAt)
{
    constexpr Rgb kBlack{0, 0, 0}, kRed{128, 0, 0}, kGreen{0, 128, 0}, kMagenta{128, 0, 128};

    dc.canvas().clear();
    // This capture holds its factor in single precision.
    float factor = static_cast<float>(pixelsPerPoint(source.twipsPerPixelX));
    float height = factor * source.font.size;
    if (!std::isfinite(height))
        throw Failure(FailureKind::FloatingPoint, "font height");
    setLogFont(outline.logFont, source.font.faceName, roundToInt32(height, "font height"),
               source.angle, source.font);
    const TextStyle style = fittedStyle(dc, source);
    applyTextStyle(dc, outline.logFont, style);
    capturePath(dc, outline.logFont, source.text, 0, 0, 0, outline, Advances::Device,
                style.spacingExact(factor), nullptr, nullptr, style.slant());

    dc.setPenColour(kBlack);
    for (const Figure& figure : figures(outline)) {
        POINT last{};
        for (std::size_t k = 0; k < figure.points.size(); ++k) {
            const POINT p = moved(figure.points[k], shownAt);
            const std::uint8_t type = figure.types[k];
            if (type == PT_MOVETO) {
                MoveToEx(dc, p.x, p.y, nullptr);
                last = p;
            } else if (type & PT_LINETO) {
                dc.setPenColour(kRed);
                LineTo(dc, p.x, p.y);
                dc.setPenColour(kBlack);
                last = p;
            }
            if (type & PT_CLOSEFIGURE) {
                // Each figure closes to its own first point, as the preview
                // and the exports close it, in green so the closing shows apart.
                const POINT first = moved(figure.points.front(), shownAt);
                if (!(first == p)) {
                    dc.setPenColour(kGreen);
                    LineTo(dc, first.x, first.y);
                    dc.setPenColour(kBlack);
                }
                LineTo(dc, last.x, last.y);
            }
            // The fixed mark: the segment between its two points.
            dc.canvas().mark({70, 176}, {78, 168}, kMagenta);
        }
    }
}

} // namespace lw
