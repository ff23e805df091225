#include "form/stroke_drawing.hpp"

#include "base/codepage.hpp"
#include "base/failure.hpp"
#include "base/shown_input.hpp"
#include "outline/stroke_font_cache.hpp"
#include "outline/stroke_font_files.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace lw {
namespace {

POINT pixel(double x, double y)
{
    const auto clamp = [](double v) { return std::int32_t(std::clamp(std::round(v), -1e9, 1e9)); };
    return {clamp(x), clamp(y)};
}

} // namespace

std::vector<std::string> strokeFaceNames()
{
    std::vector<std::string> names;
    for (const StrokeFaceFile& face : installedStrokeFaces())
        if (std::find(names.begin(), names.end(), face.name) == names.end())
            names.push_back(face.name);
    return names;
}

StrokeText layStrokeFace(const std::string& face, std::string_view text, StrokeStyle style, StrokeFontCache& fonts)
{
    style.vertical = face.starts_with('@');
    const std::string asked = style.vertical ? face.substr(1) : face;
    const std::u32string characters = utf8ToCodepoints(text);
    StrokeFontShelf shelf(installedStrokeFaces(), fonts);
    const StrokeFont* font = shelf.chosen(asked, characters);
    if (!font)
        throw Failure(FailureKind::FileNotFound, "no stroke font \"" + asked + "\" is installed");
    StrokeLayout laid = layStrokeText(characters, *font, [&](char32_t c) { return shelf.fallbackFor(c); }, style);
    std::vector<std::string> drewToo;
    for (const StrokeFaceUse& use : laid.fallbacks)
        drewToo.push_back(use.font->name);
    return {std::move(laid.lines), std::move(laid.missing), std::move(drewToo)};
}

void drawStrokePreview(const OpenLines& lines, double pixelsPerMm, POINT centre, Canvas& canvas)
{
    const std::optional<MmBox> box = lines.box();
    if (!box)
        return;
    const double midX = (box->min.x + box->max.x) / 2, midY = (box->min.y + box->max.y) / 2;
    drawOpenLinesPreview(lines,
                         {.originX = centre.x - midX * pixelsPerMm, .originY = centre.y + midY * pixelsPerMm,
                          .pixelsPerMm = pixelsPerMm},
                         canvas);
}

void drawOpenLinesPreview(const OpenLines& lines, const MarkFrame& frame, Canvas& canvas)
{
    const auto at = [&](const MmPoint& p) {
        return std::pair{frame.originX + p.x * frame.pixelsPerMm, frame.originY - p.y * frame.pixelsPerMm};
    };
    // A pen under a pixel wide is one line; a wider one, a band of lines.
    const int across = std::max(1, int(std::lround(lines.penMm * frame.pixelsPerMm)));
    constexpr Rgb kInk{0, 0, 0};
    for (std::size_t i = 0; i < lines.count(); ++i) {
        const std::span<const MmPoint> line = lines.line(i);
        for (std::size_t k = 1; k < line.size(); ++k) {
            const auto [ax, ay] = at(line[k - 1]);
            const auto [bx, by] = at(line[k]);
            const double length = std::hypot(bx - ax, by - ay);
            const double nx = length == 0 ? 0 : -(by - ay) / length, ny = length == 0 ? 0 : (bx - ax) / length;
            for (int s = 0; s < across; ++s) {
                const double o = s - (across - 1) / 2.0;
                canvas.line(pixel(ax + nx * o, ay + ny * o), pixel(bx + nx * o, by + ny * o), kInk);
            }
        }
    }
}

std::string strokeSaveRefusal(SaveFormat format, const CadChoices& cad, const TextStyle& style)
{
    const std::string why = "; choose an outline face for it. Nothing was written.";
    if (format == SaveFormat::JwPoints)
        return "JW point lines take the closed outline of an outline face, which a stroke font's open lines are not" +
               why;
    if (cad.stencilMm > 0)
        return "A stencil holds the islands of closed outlines; a stroke font's open lines have none" + why;
    if (cad.curves)
        return "Exact curves apply to outline faces; a stroke font's lines are points already" + why;
    if (cad.offsetMm < 0)
        return "An offset of a stroke font's lines is the pen's radius around them; it must be above 0" + why;
    if (style.arc.isArc())
        return "An arc places outline glyphs so far; a stroke font's lines stay straight" + why;
    if (style.bold || style.oblique != 0 || style.fitMm > 0 || !style.shaping.isPlain())
        return "Bold, oblique, fit and kerning apply to outline faces; a stroke font's lines are drawn as they are" +
               why;
    return {};
}

std::string centrelineSaveRefusal(const CadChoices& cad)
{
    const std::string why = "; leave the centreline off for it. Nothing was written.";
    if (cad.stencilMm > 0)
        return "A stencil holds the islands of closed outlines; a centreline's open lines have none" + why;
    if (cad.curves)
        return "Exact curves apply to outlines; a centreline's lines are points" + why;
    if (cad.offsetMm < 0)
        return "An offset of a centreline is the pen's radius around its lines; it must be above 0" + why;
    return {};
}

std::string strokeMissingNote(std::u32string_view missing)
{
    if (missing.empty())
        return {};
    return "No stroke font has " + namedCharacters(missing) + ". Nothing was written.";
}

} // namespace lw
