#include "export/offscreen_capture.hpp"

#include "base/failure.hpp"
#include "base/utf8.hpp"
#include "cut/cut.hpp"
#include "export/byte_files.hpp"
#include "export/dxf.hpp"
#include "export/hpgl.hpp"
#include "export/jw_output.hpp"
#include "export/pdf.hpp"
#include "export/svg.hpp"
#include "outline/arc_text.hpp"
#include "outline/baseline.hpp"
#include "outline/fit.hpp"
#include "outline/work_bound.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <string>

namespace lw {
namespace {

// 3900 as "3,900": a count a reader takes in at a glance.
std::string grouped(std::uint64_t n)
{
    std::string digits = std::to_string(n);
    for (std::size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, ",");
    return digits;
}

// 0.3 as "0.3": the offset as the user gave it, near enough.
std::string shortestMm(double mm)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", mm);
    return text;
}

} // namespace

OffscreenCapture::OffscreenCapture(const CaptureSource& source, Placement placement, double dpi, bool keepCurves)
    : keepCurves_(keepCurves), text_(source.text), placement_(placement), dpi_(dpi), advances_(source.advances),
      spacing_(source.style.spacingExact(pixelsPerPoint(twipsPerPixel()))), arc_(source.style.arc)
{
    CaptureSource atDpi{text_,         source.font,     source.angle, source.scaleWidth,
                        source.scaleHeight, twipsPerPixel(), source.advances, source.style};
    // Resolved once, so the anchor's box has the very spacing drawn.
    atDpi.style = fittedStyle(dc_, atDpi);
    spacing_ = atDpi.style.spacingExact(pixelsPerPoint(twipsPerPixel()));
    drawFlattenPath(placement, atDpi, dc_, outline_, keepCurves_ ? &curved_ : nullptr);
}

MmPlacement OffscreenCapture::baseline() { return baselinePlacement(dc_, outline_.logFont, dpi_); }

MmPlacement OffscreenCapture::arcPlacement()
{
    const TextFrame box = textFrame(dc_, outline_.logFont, text_, advances_, spacing_);
    const ArcPoint origin = arcOrigin(arc_, dpi_, POINT{0, 0}, box.ascent, box.descent);
    return {origin.x, origin.y, dpi_};
}

bool OffscreenCapture::placedByItsBox() const
{
    return placement_ == Placement::Origin &&
           (anchor_ != Anchor::BaselineLeft || mirror_ != Mirror::None || arc_.isArc());
}

MmPlacement OffscreenCapture::drawingPlacement(SaveFormat format, const CadOutline& cut)
{
    MmPlacement mm = format == SaveFormat::Svg ? svgPlacement() : baseline();
    if (placement_ == Placement::Origin && arc_.isArc())
        mm = arcPlacement();
    else if (placedByItsBox())
        mm = anchoredPlacement(mm, textFrame(dc_, outline_.logFont, text_, advances_, spacing_), anchor_,
                               outline_.logFont.lfEscapement);
    return onCadGrid(mm, cut);
}

std::string OffscreenCapture::arcShortfall()
{
    if (!arc_.isArc() || arc_.fitDegrees)
        return {};
    const ArcLine line = arcLine(arc_, dpi_);
    // The length alone: the bars' bands are not measured.
    LOGFONT plain = outline_.logFont;
    plain.lfUnderline = plain.lfStrikeOut = 0;
    const double needed = arcRun(dc_, plain, text_, line, spacing_, std::nullopt).length();
    const double round = 2 * std::numbers::pi * std::fabs(line.radius);
    // Within a thousandth of a pixel the text closes the circle exactly.
    if (needed <= round + 1e-3)
        return {};
    const double mmPerPixel = kMmPerInch / dpi_;
    return "the text needs " + shortestMm(needed * mmPerPixel) + " mm along the circle, but a circle of radius " +
           shortestMm(std::fabs(arc_.radiusMm)) + " mm is only " + shortestMm(round * mmPerPixel) +
           " mm round; choose a radius of at least " + shortestMm(std::ceil(needed * mmPerPixel / (2 * std::numbers::pi) * 100) / 100) +
           " mm, a smaller size or a shorter text";
}

MmPlacement OffscreenCapture::svgPlacement()
{
    // Centred, the picture keeps the preview's origin; else the DXF's.
    return placement_ == Placement::PreviewCentre ? MmPlacement{0, 0, dpi_} : baseline();
}

void OffscreenCapture::write(ByteSink& out, SaveFormat format, const std::optional<CadOptions>& cad)
{
    if (format == SaveFormat::JwPoints) {
        writeJwOutline(out, outline_, {.baseX = 0, .baseY = 0, .scale = 1, .twipsPerPixel = twipsPerPixel()});
        return;
    }
    const bool captured = outline_.pointCount > 0;
    const CurvedPath* path = keepCurves_ ? &curved_ : nullptr;
    // A writer that reads arcs has each glyph's fitted once in the cut.
    std::optional<CadOptions> options = cad;
    if (options)
        options->arcs = format == SaveFormat::Dxf || format == SaveFormat::Hpgl;
    CadOutline cut = !options     ? CadOutline{.outline = outline_, .gridScale = 1}
                     : lastWrite_ ? cadOutline(std::move(outline_), *options, *work_, path)
                                  : cadOutline(outline_, *options, *work_, path);
    // A drawing with nothing to cut would replace the user's file with an
    // empty one and look like success.
    if (cad && cad->offsetPixels < 0 && cut.outline.pointCount == 0 && captured)
        throw Failure(FailureKind::NothingToDraw,
                      "the inward offset of " + shortestMm(-cad->offsetPixels * kMmPerInch / dpi_) +
                          " mm erased the whole text (every stroke is thinner than twice the offset); choose a "
                          "smaller offset or a larger size. Nothing was written.");
    if (!cut.unheld.empty())
        throw Failure(FailureKind::IslandNotHeld, unheldIslands(format, *cad));
    MmPlacement mm = drawingPlacement(format, cut);
    if (placedByItsBox())
        mirror(cut, mm, mirror_);
    const ExactCurves* curves = cut.curves.empty() ? nullptr : &cut.curves;
    switch (format) {
    case SaveFormat::Dxf: {
        DxfPlacement placement{.mm = mm, .text = text_, .curves = curves, .curveTolerance = cut.curveTolerance,
                               .version = output_.dxfVersion, .textEntity = std::nullopt};
        if (output_.dxfText) {
            // The em as the capture set it, and its escapement in degrees; on
            // an arc the tangent where the text stands, its reading direction.
            const double escapement =
                arc_.isArc() ? arc_.atDegrees.value_or(defaultArcDegrees(arc_.radiusMm)) - (arc_.radiusMm > 0 ? 90 : 270)
                             : outline_.logFont.lfEscapement / 10.0;
            const double angle = std::fmod(escapement, 360.0);
            placement.textEntity = DxfText{.heightMm = std::fabs(double(outline_.logFont.lfHeight)) * kMmPerInch / dpi_,
                                           .angleDegrees = angle < 0 ? angle + 360 : angle,
                                           .anchor = anchor_,
                                           .mirror = mirror_};
        }
        writeDxf(out, cut.outline, placement);
        break;
    }
    case SaveFormat::Pdf:
        writePdf(out, cut.outline, mm, curves, output_.pdf);
        break;
    case SaveFormat::Hpgl:
        writeHpgl(out, cut.outline, mm, {curves, cut.curveTolerance}, output_.hpgl);
        break;
    case SaveFormat::Svg:
    case SaveFormat::JwPoints:
        writeSvg(out, cut.outline, mm, curves);
        break;
    }
}

std::string OffscreenCapture::slowWorkNote(SaveFormat format, const std::optional<CadOptions>& cad) const
{
    const std::uint64_t points = std::uint64_t(std::max(outline_.pointCount, 0));
    const double offset = cad && format != SaveFormat::JwPoints ? cad->offsetPixels : 0;
    if (estimateCadSeconds(points, offset) <= 1)
        return {};
    const std::uint64_t characters = utf8Characters(text_);
    return std::string(offset != 0 ? "offsetting " : "writing ") + grouped(characters) +
           (characters == 1 ? " character (" : " characters (") + grouped(points) + " points)...";
}

void OffscreenCapture::writeFile(const std::string& path, SaveFormat format, const std::optional<CadOptions>& cad)
{
    OutputFile file(path);
    write(file.stream(), format, cad);
    file.close();
}

} // namespace lw
