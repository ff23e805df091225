#include "outline/capture.hpp"

#include "base/failure.hpp"
#include "base/numbers.hpp"
#include "outline/arc_text.hpp"
#include "outline/fit.hpp"
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

} // namespace

void capturePath(DeviceContext& dc, const LOGFONT& logFont, std::string_view text,
                 std::int32_t alignment, std::int32_t x0, std::int32_t y0, CapturedOutline& outline,
                 Advances advances, double spacing, CurvedPath* curved, const DeviceArea* shownArea, double slant)
{
    BeginPath(dc);
    outputText(dc, logFont, text, alignment, x0, y0, advances, spacing, slant);
    EndPath(dc);
    readPath(dc, outline, curved, shownArea);
}

void readPath(DeviceContext& dc, CapturedOutline& outline, CurvedPath* curved, const DeviceArea* shownArea)
{
    if (curved && readCurvedGlyphs(dc, curved->points, curved->types, curved->runs) < 0) {
        curved->points.clear();
        curved->types.clear();
        curved->runs.clear();
    }

    int n = shownArea ? flattenPathWithin(dc, *shownArea, outline.pathPoints, outline.pathTypes)
                      : flattenPathInto(dc, outline.pathPoints, outline.pathTypes);
    // No closed path cannot follow EndPath; an empty outline is the safe reading.
    if (n < 0) {
        n = 0;
        outline.pathPoints.clear();
        outline.pathTypes.clear();
    }
    outline.pointCount = n;
    outline.pathPoints.push_back(POINT{});
    outline.pathTypes.push_back(0);
}

double pixelsPerPoint(double twipsPerPixelX)
{
    double value = 1440.0 / twipsPerPixelX / 72.0;
    if (twipsPerPixelX == 0 || !std::isfinite(value))
        throw Failure(FailureKind::FloatingPoint, "pixels per point");
    return value;
}

void drawFlattenPath(Placement placement, const CaptureSource& source, DeviceContext& dc,
                     CapturedOutline& outline, CurvedPath* curved)
{
    dc.canvas().clear();
    std::int32_t x0 = 0, y0 = 0;
    if (placement == Placement::PreviewCentre) {
        x0 = roundToInt32(double(source.scaleWidth) / 2, "preview centre");
        y0 = roundToInt32(double(source.scaleHeight) / 2, "preview centre");
    }
    double factor = pixelsPerPoint(source.twipsPerPixelX);
    std::int32_t height = fontHeight(source.font.size, factor);
    const TextStyle style = fittedStyle(dc, source);
    setLogFont(outline.logFont, source.font.faceName, height, source.angle, source.font);
    applyTextStyle(dc, outline.logFont, style);
    const DeviceArea* shownArea = source.shownArea ? &*source.shownArea : nullptr;
    if (const ArcStyle& arc = style.arc; arc.isArc()) {
        const ArcLine line = arcLine(arc, 1440.0 / source.twipsPerPixelX);
        const ArcRun run =
            arcRun(dc, outline.logFont, source.text, line, style.spacingExact(factor), arc.fitDegrees);
        BeginPath(dc);
        outputArcText(dc, outline.logFont, source.text, line, run,
                      arcCentre(line, POINT{x0, y0}, placement == Placement::PreviewCentre), style.slant());
        EndPath(dc);
        readPath(dc, outline, curved, shownArea);
    } else {
        capturePath(dc, outline.logFont, source.text, std::int32_t(placement), x0, y0, outline, source.advances,
                    style.spacingExact(factor), curved, shownArea, style.slant());
    }

    // One polygon per closed figure; the platform closes it back to its start.
    for (const Figure& figure : figures(outline))
        if (figure.closed)
            Polygon(dc, figure.points.data(), static_cast<int>(figure.points.size()));
}

} // namespace lw
