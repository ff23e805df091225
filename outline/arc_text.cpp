#include "outline/arc_text.hpp"

#include "base/codepage.hpp"
#include "outline/precision.hpp"
#include "outline/text_output.hpp"
#include "platform/world_transform.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>

namespace lw {
namespace {

// As the platform decodes code page 932: a lead byte with a byte after it
// is one double-byte character.
bool isLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

std::size_t characterLength(const std::string& bytes, std::size_t at)
{
    return isLeadByte(static_cast<unsigned char>(bytes[at])) && at + 1 < bytes.size() ? 2 : 1;
}

// Each character is laid on its own at the origin of its transform.
LOGFONT upright(LOGFONT logFont)
{
    logFont.lfEscapement = logFont.lfOrientation = 0;
    return logFont;
}

int byteCount(const std::string& bytes)
{
    return static_cast<int>(std::min<std::size_t>(bytes.size(), std::numeric_limits<int>::max()));
}

} // namespace

ArcLine arcLine(const ArcStyle& arc, double dpi)
{
    return {.radius = arc.radiusMm * dpi / kMmPerInch,
            .atDegrees = arc.atDegrees.value_or(defaultArcDegrees(arc.radiusMm)), .along = arc.along};
}

ArcStyle anchoredArc(ArcStyle arc, Anchor anchor)
{
    switch (anchor) {
    case Anchor::BaselineLeft:
    case Anchor::TopLeft:
    case Anchor::MiddleLeft:
    case Anchor::BottomLeft:
        arc.along = ArcAlong::Start;
        break;
    case Anchor::BaselineRight:
    case Anchor::TopRight:
    case Anchor::MiddleRight:
    case Anchor::BottomRight:
        arc.along = ArcAlong::End;
        break;
    default:
        arc.along = ArcAlong::Middle;
        break;
    }
    switch (anchor) {
    case Anchor::TopLeft:
    case Anchor::TopCentre:
    case Anchor::TopRight:
        arc.origin = ArcRise::Top;
        break;
    case Anchor::MiddleLeft:
    case Anchor::Centre:
    case Anchor::MiddleRight:
        arc.origin = ArcRise::Middle;
        break;
    case Anchor::BottomLeft:
    case Anchor::BottomCentre:
    case Anchor::BottomRight:
        arc.origin = ArcRise::Bottom;
        break;
    default:
        arc.origin = ArcRise::Baseline;
        break;
    }
    return arc;
}

ArcPoint arcOrigin(const ArcStyle& arc, double dpi, POINT centre, double ascent, double descent)
{
    if (!arc.origin)
        return {double(centre.x), double(centre.y)};
    const double rise = *arc.origin == ArcRise::Top      ? ascent
                        : *arc.origin == ArcRise::Middle ? (ascent - descent) / 2
                        : *arc.origin == ArcRise::Bottom ? -descent
                                                         : 0;
    const ArcPoint p = arcPointAt(arcLine(arc, dpi), rise);
    return {centre.x + p.x, centre.y - p.y};
}

ArcPoint arcCentre(const ArcLine& line, POINT reference, bool centred)
{
    if (!centred)
        return {double(reference.x), double(reference.y)};
    const ArcPoint at = arcPointAt(line, 0);
    return {reference.x - at.x, reference.y + at.y};
}

void drawArcGuide(DeviceContext& dc, const ArcLine& line, ArcPoint centre)
{
    // A light grey a little apart from the white fill and the black outline.
    constexpr Rgb kGuide{192, 192, 192};
    const double r = std::fabs(line.radius);
    // Segments of about four pixels, as a line on the screen needs, and no
    // more than a fine grid's circle could use.
    const int segments = int(std::clamp(std::ceil(2 * std::numbers::pi * r / 4), 16.0, 2048.0));
    const Rgb pen = dc.penColour();
    dc.setPenColour(kGuide);
    auto at = [&](int k) {
        const double a = 2 * std::numbers::pi * k / segments;
        return POINT{std::int32_t(std::lround(centre.x + r * std::cos(a))),
                     std::int32_t(std::lround(centre.y - r * std::sin(a)))};
    };
    const POINT first = at(0);
    MoveToEx(dc, first.x, first.y, nullptr);
    for (int k = 1; k <= segments; ++k) {
        const POINT p = at(k);
        LineTo(dc, p.x, p.y);
    }
    dc.setPenColour(pen);
}

ArcRun arcRun(DeviceContext& dc, const LOGFONT& logFont, std::string_view text, const ArcLine& line,
              double spacing, std::optional<double> fitDegrees)
{
    ArcRun run;
    const std::string bytes = toCp932(text);
    SelectedFont font(dc, CreateFontIndirectA(toAnsiLogFont(upright(logFont))));
    GetLinearAdvances(dc, bytes.data(), byteCount(bytes), run.advances);
    run.spacing = fitDegrees ? spacingToFit(run.advances, line.radius, *fitDegrees) : spacing;
    return run;
}

void outputArcText(DeviceContext& dc, const LOGFONT& logFont, std::string_view text, const ArcLine& line,
                   const ArcRun& run, ArcPoint centre)
{
    const std::string bytes = toCp932(text);
    const std::vector<ArcGlyph> glyphs = arcGlyphsOf(line, run);
    SelectedFont font(dc, CreateFontIndirectA(toAnsiLogFont(upright(logFont))));
    SetBkMode(dc, TRANSPARENT);
    // The pen's start on the baseline is each character's own origin.
    SetTextAlign(dc, TA_LEFT | TA_BASELINE);
    std::size_t at = 0;
    for (std::size_t i = 0; i < glyphs.size() && at < bytes.size(); ++i) {
        const std::size_t length = characterLength(bytes, at);
        const ArcGlyph& g = glyphs[i];
        const double turn = g.turnDegrees * std::numbers::pi / 180;
        const double c = std::cos(turn), s = std::sin(turn);
        const double half = run.advances[i] / 2;
        // Turned counter-clockwise as seen with y up, onto a device whose y
        // grows downwards: the advance's middle goes to the glyph's point.
        WorldTransform t{.m11 = c, .m12 = -s, .m21 = s, .m22 = c, .dx = centre.x + g.x - c * half,
                         .dy = centre.y - g.y + s * half};
        TextOutTransformed(dc, t, 0, 0, bytes.data() + at, int(length));
        at += length;
    }
    SetTextAlign(dc, 0);
}

} // namespace lw
