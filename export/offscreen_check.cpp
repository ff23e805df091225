// OffscreenCapture::check: the drawing measured against a tool, its places
// told in millimetres and by the character they lie in.

#include "export/offscreen_capture.hpp"

#include "base/codepage.hpp"
#include "cut/cut.hpp"
#include "outline/baseline.hpp"
#include "outline/capture.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <unordered_map>
#include <vector>

namespace lw {
namespace {

// How far the written polylines may lie from the font's outline, in device
// pixels: the flattening's 0.25 pixel, the rounding of every point to the
// pixel, and an offset's round joins drawn as chords within 0.25 pixel.
double deviationPixels(bool offset) { return 0.25 + std::numbers::sqrt2 / 2 + (offset ? 0.25 : 0); }

// With curves, a contour that keeps its exact curve is written within the
// fit's tolerance of it; one the merge or the offset made stays a polyline
// and keeps the polylines' bound.
double curvedDeviationPixels(const CadOutline& written, bool offset)
{
    if (written.curves.empty())
        return deviationPixels(offset);
    double most = 0;
    std::size_t k = 0;
    for (const Figure& f : figures(written.outline)) {
        if (!f.closed)
            continue;
        const bool curved = k < written.curves.size() && written.curves[k];
        most = std::max(most, curved ? written.curveTolerance / written.gridScale : deviationPixels(offset));
        ++k;
    }
    return most;
}

// Where each character of the line starts along the baseline, in device
// pixels from the pen's start, as outputText lays them; one entry more for
// the line's end. Empty where the characters and the advances disagree.
std::vector<double> characterStarts(DeviceContext& dc, const LOGFONT& logFont, std::string_view text,
                                    Advances advances, double spacing)
{
    LOGFONT upright = logFont;
    upright.lfEscapement = upright.lfOrientation = 0;
    SelectedFont font(dc, CreateFontIndirectA(toAnsiLogFont(upright)));
    const std::string bytes = toCp932(text);
    std::vector<double> linear;
    GetLinearAdvances(dc, bytes.data(), int(std::min<std::size_t>(bytes.size(), 0x7FFFFFFF)), linear);
    std::vector<double> starts{0};
    double sum = 0;
    for (std::size_t k = 0; k < linear.size(); ++k) {
        if (advances == Advances::Linear) {
            sum += linear[k];
            starts.push_back(std::round(sum + spacing * double(k + 1)));
        } else {
            sum += std::round(linear[k]) + std::round(spacing);
            starts.push_back(sum);
        }
    }
    return starts;
}


// The capture's closed figures shared out among the characters of the
// line: a glyph's figures come together in the path, in the order of the
// characters, and the bars after them all, whatever the layout (straight,
// turned, on an arc, a vertical face's glyphs turned in their cells). How
// many each character draws is read from a capture of it alone, without
// the bars. Empty where the counts and the capture disagree (glyphs the
// shaping joined): the places are then named along the baseline.
std::vector<std::vector<std::span<const POINT>>> figuresOfCharacters(DeviceContext& dc, const CapturedOutline& outline,
                                                                      const std::u32string& characters)
{
    LOGFONT plain = outline.logFont;
    plain.lfUnderline = plain.lfStrikeOut = 0;
    const bool barred = outline.logFont.lfUnderline || outline.logFont.lfStrikeOut;
    std::unordered_map<char32_t, std::size_t> counted;
    CapturedOutline alone;
    std::vector<std::span<const POINT>> closed;
    for (const Figure& f : figures(outline))
        if (f.closed)
            closed.push_back(f.points);
    std::vector<std::vector<std::span<const POINT>>> out(characters.size());
    std::size_t next = 0;
    for (std::size_t k = 0; k < characters.size(); ++k) {
        auto it = counted.find(characters[k]);
        if (it == counted.end()) {
            capturePath(dc, plain, codepointsToUtf8(std::u32string(1, characters[k])), 0, 0, 0, alone);
            std::size_t n = 0;
            for (const Figure& f : figures(alone))
                n += f.closed ? 1 : 0;
            it = counted.emplace(characters[k], n).first;
        }
        if (next + it->second > closed.size())
            return {};
        out[k].assign(closed.begin() + std::ptrdiff_t(next), closed.begin() + std::ptrdiff_t(next + it->second));
        next += it->second;
    }
    if (next != closed.size() && !barred)
        return {};
    return out;
}

bool encloses(std::span<const POINT> figure, double x, double y)
{
    bool inside = false;
    for (std::size_t k = 0, j = figure.size() - 1; k < figure.size(); j = k++)
        if ((figure[k].y > y) != (figure[j].y > y) &&
            x < figure[k].x + (y - figure[k].y) * double(figure[j].x - figure[k].x) / double(figure[j].y - figure[k].y))
            inside = !inside;
    return inside;
}

double distanceTo(std::span<const POINT> figure, double x, double y)
{
    double best = std::numeric_limits<double>::infinity();
    for (std::size_t k = 0, j = figure.size() - 1; k < figure.size(); j = k++) {
        const double ax = figure[j].x, ay = figure[j].y, dx = figure[k].x - ax, dy = figure[k].y - ay;
        const double length = dx * dx + dy * dy;
        const double t = length > 0 ? std::clamp(((x - ax) * dx + (y - ay) * dy) / length, 0.0, 1.0) : 0;
        best = std::min(best, std::hypot(x - ax - t * dx, y - ay - t * dy));
    }
    return best;
}

double figureArea(std::span<const POINT> figure)
{
    double twice = 0;
    for (std::size_t k = 0, j = figure.size() - 1; k < figure.size(); j = k++)
        twice += double(figure[j].x) * figure[k].y - double(figure[k].x) * figure[j].y;
    return std::fabs(twice) / 2;
}

// The character whose glyph holds (x, y), in device pixels: its ink, else
// the smallest of its figures around the place (a counter, a bay), else the
// glyph nearest (a gap between letters, a pocket under a bar).
std::size_t characterHolding(const std::vector<std::vector<std::span<const POINT>>>& glyphs, double x, double y)
{
    std::size_t around = glyphs.size(), nearest = 0;
    double smallest = std::numeric_limits<double>::infinity(), closest = smallest;
    for (std::size_t k = 0; k < glyphs.size(); ++k) {
        bool ink = false;
        for (const std::span<const POINT> f : glyphs[k]) {
            if (f.size() < 3)
                continue;
            if (encloses(f, x, y)) {
                ink = !ink;
                if (const double a = figureArea(f); a < smallest)
                    smallest = a, around = k;
            }
            if (const double d = distanceTo(f, x, y); d < closest)
                closest = d, nearest = k;
        }
        if (ink)
            return k;
    }
    return around < glyphs.size() ? around : nearest;
}

} // namespace

ToolReport OffscreenCapture::check(SaveFormat format, const CadOptions& cad, double toolMm)
{
    CadOptions measured = cad;
    measured.merge = true;
    measured.curves = false;
    CadOutline cut = cadOutline(outline_, measured, *work_);
    const double mmPerGrid = kMmPerInch / dpi_ / cut.gridScale;

    // The placement write gives the drawing, mirrored last as it is.
    const MmPlacement mm = drawingPlacement(format, cut);
    const bool mirrored = placedByItsBox() && mirror_ != Mirror::None;

    const std::vector<Contour> contours = cutContours(cut.outline);
    const double gridPerMm = 1 / mmPerGrid;
    const ToolCheck found =
        checkTool(contours, toolMm * gridPerMm, 0.5 * cut.gridScale);

    // The character a place lies in: the glyph that holds it, else by how
    // far along the baseline it is.
    const std::u32string characters = utf8ToCodepoints(text_);
    const auto glyphs = figuresOfCharacters(dc_, outline_, characters);
    const std::vector<double> starts = characterStarts(dc_, outline_.logFont, text_, advances_, spacing_);
    const double turn = outline_.logFont.lfEscapement / 10.0 * std::numbers::pi / 180;
    double refX = 0, refY = 0, pen = 0;
    if (placement_ == Placement::PreviewCentre) {
        refX = std::round(double(design::kPreviewWidth) / 2), refY = std::round(double(design::kPreviewHeight) / 2);
        pen = -std::floor(starts.back() / 2);
    }
    const auto characterAt = [&](double gx, double gy) -> std::string {
        if (!glyphs.empty() && !characters.empty())
            return codepointsToUtf8(
                std::u32string(1, characters[characterHolding(glyphs, gx / cut.gridScale, gy / cut.gridScale)]));
        if (characters.size() + 1 != starts.size() || characters.empty())
            return {};
        const double px = gx / cut.gridScale - refX, py = gy / cut.gridScale - refY;
        const double along = px * std::cos(turn) - py * std::sin(turn) - pen;
        std::size_t k = 0;
        while (k + 1 < characters.size() && along >= starts[k + 1])
            ++k;
        return codepointsToUtf8(std::u32string(1, characters[k]));
    };
    const auto placeOf = [&](double gx, double gy) {
        MmPoint p{(gx - mm.originX) * mmPerGrid, (mm.originY - gy) * mmPerGrid};
        if (mirrored)
            (mirror_ == Mirror::X ? p.x : p.y) *= -1;
        return ReportPlace{characterAt(gx, gy), p.x, p.y};
    };
    const auto widthOf = [&](const Narrowing& n) { return ReportWidth{placeOf(n.x, n.y), n.width * mmPerGrid}; };

    ToolReport report;
    report.tool = toolMm;
    if (found.thinnest)
        report.thinnestMaterial = widthOf(*found.thinnest);
    if (found.narrowest)
        report.narrowestGap = widthOf(*found.narrowest);
    for (const Narrowing& n : found.tooNarrow)
        (n.side == Side::Ink ? report.materialTooThin : report.gapTooNarrow).push_back(widthOf(n));
    for (const Island& island : found.islands)
        report.islands.push_back({placeOf(island.x, island.y), island.area * mmPerGrid * mmPerGrid});
    for (const Bridge& b : cut.bridges) {
        const ReportPlace from = placeOf(b.fromX, b.fromY), to = placeOf(b.toX, b.toY);
        report.bridges.push_back({from.x, from.y, to.x, to.y, b.width * mmPerGrid});
    }
    // A stencil is written as segments, curves or not; HP-GL draws its own
    // arcs through the curves, within a bound of its own.
    const bool curved = cad.curves && keepCurves_ && cad.stencilPixels <= 0 && format != SaveFormat::Hpgl;
    report.deviationBound = (curved ? curvedDeviationPixels(cadOutline(outline_, cad, &curved_), cad.offsetPixels != 0)
                                    : deviationPixels(cad.offsetPixels != 0)) *
                            kMmPerInch / dpi_;
    return report;
}

} // namespace lw
