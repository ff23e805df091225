#include "outline/capture.hpp"

#include "outline/failure.hpp"
#include "outline/numbers.hpp"
#include "outline/text_output.hpp"

#include <cmath>

namespace lw {
namespace {

std::int32_t fontHeight(float size, double factor)
{
    double height = double(size) * factor;
    if (!std::isfinite(height))
        throw Failure(FailureKind::FloatingPoint, "font height");
    return roundToInt32(height, "font height");
}

// Steps shared by both captures: path bracket around the text, then the
// path read into the outline with two GetPath calls (count, then fill), so
// the arrays are sized once and keep their storage between captures.
void capturePath(DeviceContext& dc, const LOGFONT& logFont, std::string_view text,
                 std::int32_t alignment, std::int32_t x0, std::int32_t y0, CapturedOutline& outline)
{
    BeginPath(dc);
    outputText(dc, logFont, text, alignment, x0, y0);
    EndPath(dc);
    FlattenPath(dc);

    outline.pathPoints.assign(1, POINT{});
    outline.pathTypes.assign(1, 0);
    int n = GetPath(dc, outline.pathPoints.data(), outline.pathTypes.data(), 0);
    // No closed path cannot follow EndPath; an empty outline is the safe reading.
    if (n < 0)
        n = 0;
    outline.pointCount = n;
    outline.pathPoints.assign(std::size_t(n) + 1, POINT{});
    outline.pathTypes.assign(std::size_t(n) + 1, 0);
    if (n > 0)
        GetPath(dc, outline.pathPoints.data(), outline.pathTypes.data(), n);
}

} // namespace

double pixelsPerPoint(double twipsPerPixelX)
{
    double value = 1440.0 / twipsPerPixelX / 72.0;
    if (twipsPerPixelX == 0 || !std::isfinite(value))
        throw Failure(FailureKind::FloatingPoint, "pixels per point");
    return value;
}

void drawFlattenPath(std::int32_t& alCent, const CaptureSource& source, DeviceContext& dc,
                     CapturedOutline& outline)
{
    dc.canvas().clear();
    outline.previewDC = &dc;
    std::int32_t x0 = 0, y0 = 0;
    if (alCent != 0) {
        x0 = roundToInt32(double(source.scaleWidth) / 2, "preview centre");
        y0 = roundToInt32(double(source.scaleHeight) / 2, "preview centre");
    }
    double factor = pixelsPerPoint(source.twipsPerPixelX);
    std::int32_t height = fontHeight(source.font.size, factor);
    setLogFont(outline.logFont, source.font.faceName, height, source.angle, source.font);
    capturePath(dc, outline.logFont, source.text, alCent, x0, y0, outline);

    // One polygon per closed figure; the platform closes it back to its start.
    for (std::int32_t i = 0; i < outline.pointCount; ++i) {
        outline.figureCount = checkedAdd32(outline.figureCount, 1);
        if (outline.pathTypes[std::size_t(i)] & PT_CLOSEFIGURE) {
            Polygon(dc, &outline.pathPoints[std::size_t(i - outline.figureCount + 1)], outline.figureCount);
            outline.figureCount = 0;
        }
    }
}

void inspectOutline(const CaptureSource& source, DeviceContext& dc, CapturedOutline& outline)
{
    constexpr Rgb kBlack{0, 0, 0}, kRed{128, 0, 0}, kGreen{0, 128, 0}, kMagenta{128, 0, 128};

    dc.canvas().clear();
    outline.previewDC = &dc;
    // This capture holds its factor in single precision.
    float factor = static_cast<float>(pixelsPerPoint(source.twipsPerPixelX));
    float height = factor * source.font.size;
    if (!std::isfinite(height))
        throw Failure(FailureKind::FloatingPoint, "font height");
    setLogFont(outline.logFont, source.font.faceName, roundToInt32(height, "font height"),
               source.angle, source.font);
    capturePath(dc, outline.logFont, source.text, 0, 0, 0, outline);

    dc.setPenColour(kBlack);
    POINT last{};
    std::size_t figureStart = 0;
    for (std::size_t i = 0; i < std::size_t(outline.pointCount); ++i) {
        POINT p = outline.pathPoints[i];
        std::uint8_t type = outline.pathTypes[i];
        if (type == PT_MOVETO) {
            MoveToEx(dc, p.x, p.y, nullptr);
            last = p;
            figureStart = i;
        } else if (type & PT_LINETO) {
            dc.setPenColour(kRed);
            LineTo(dc, p.x, p.y);
            dc.setPenColour(kBlack);
            last = p;
        }
        if (type & PT_CLOSEFIGURE) {
            // Each figure closes to its own first point, as the preview and
            // the exports close it, in green so the closing shows apart.
            POINT first = outline.pathPoints[figureStart];
            if (!(first == p)) {
                dc.setPenColour(kGreen);
                LineTo(dc, first.x, first.y);
                dc.setPenColour(kBlack);
            }
            LineTo(dc, last.x, last.y);
        }
        // The fixed mark: the segment between its two points.
        dc.canvas().line({70, 176}, {78, 168}, kMagenta);
    }
}

} // namespace lw
