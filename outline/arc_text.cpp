#include "outline/arc_text.hpp"

#include "base/codepage.hpp"
#include "outline/precision.hpp"
#include "outline/oblique.hpp"
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

// Each character is laid on its own at the origin of its transform; the
// bars are the arc's own, along the whole line.
LOGFONT upright(LOGFONT logFont)
{
    logFont.lfEscapement = logFont.lfOrientation = 0;
    logFont.lfUnderline = logFont.lfStrikeOut = 0;
    return logFont;
}

// The band one bar of `logFont` covers under a blank, as the platform lays
// it at the baseline; none when it draws none.
std::optional<ArcRun::Band> barOf(DeviceContext& dc, LOGFONT logFont, bool underline)
{
    logFont.lfEscapement = logFont.lfOrientation = 0;
    logFont.lfUnderline = underline ? 255 : 0;
    logFont.lfStrikeOut = underline ? 0 : 255;
    SelectedFont font(dc, CreateFontIndirectA(toAnsiLogFont(logFont)));
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_LEFT | TA_BASELINE);
    BeginPath(dc);
    TextOutA(dc, 0, 0, " ", 1);
    EndPath(dc);
    SetTextAlign(dc, 0);
    std::vector<POINT> points;
    std::vector<std::uint8_t> types;
    const int n = flattenPathInto(dc, points, types);
    if (n <= 0)
        return std::nullopt;
    ArcRun::Band band{double(points[0].y), double(points[0].y)};
    for (int i = 1; i < n; ++i) {
        band.top = std::min(band.top, double(points[std::size_t(i)].y));
        band.bottom = std::max(band.bottom, double(points[std::size_t(i)].y));
    }
    return band;
}

// A band along the circle from the line's start to its end, between `top`
// and `bottom` below the baseline, turning as the straight bar does: along
// its top edge in the reading direction, back along its bottom edge.
void bandOnArc(DeviceContext& dc, const ArcLine& line, double length, ArcRun::Band band, ArcPoint centre)
{
    // The angle at the line's start and the one it spans, as arcGlyphs turns them.
    const double before = line.along == ArcAlong::Start ? 0 : line.along == ArcAlong::End ? length : length / 2;
    const double start = line.atDegrees * std::numbers::pi / 180 + before / line.radius;
    const double span = -length / line.radius;
    const auto radiusAt = [&](double below) {
        return line.radius > 0 ? line.radius - below : -line.radius + below;
    };
    const double outer = std::max(radiusAt(band.top), radiusAt(band.bottom));
    // Segments within a quarter pixel of the circle, as curves are flattened.
    const double step = outer > 0.25 ? 2 * std::acos(1 - 0.25 / outer) : std::numbers::pi / 2;
    const int segments = int(std::clamp(std::ceil(std::fabs(span) / step), 1.0, 4096.0));
    std::vector<POINT> points;
    points.reserve(std::size_t(2 * segments + 2));
    const auto add = [&](double below, int k) {
        const double a = start + span * k / segments, r = radiusAt(below);
        points.push_back({std::int32_t(std::lround(centre.x + r * std::cos(a))),
                          std::int32_t(std::lround(centre.y - r * std::sin(a)))});
    };
    for (int k = 0; k <= segments; ++k)
        add(band.top, k);
    for (int k = segments; k >= 0; --k)
        add(band.bottom, k);
    Polygon(dc, points.data(), int(points.size()));
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

ArcRun arcRun(DeviceContext& dc, const LOGFONT& logFont, std::string_view text, const ArcLine& line,
              double spacing, std::optional<double> fitDegrees)
{
    ArcRun run;
    const std::string bytes = toCp932(text);
    SelectedFont font(dc, CreateFontIndirectA(toAnsiLogFont(upright(logFont))));
    GetLinearAdvances(dc, bytes.data(), byteCount(bytes), run.advances);
    run.spacing = fitDegrees ? spacingToFit(run.advances, line.radius, *fitDegrees) : spacing;
    if (logFont.lfUnderline)
        run.underline = barOf(dc, logFont, true);
    if (logFont.lfStrikeOut)
        run.strikeout = barOf(dc, logFont, false);
    return run;
}

void outputArcText(DeviceContext& dc, const LOGFONT& logFont, std::string_view text, const ArcLine& line,
                   const ArcRun& run, ArcPoint centre, double slant)
{
    const std::string bytes = toCp932(text);
    const std::vector<ArcGlyph> glyphs = arcGlyphsOf(line, run);
    SelectedFont font(dc, CreateFontIndirectA(toAnsiLogFont(upright(logFont))));
    SetBkMode(dc, TRANSPARENT);
    // The pen's start on the baseline is each character's own origin.
    SetTextAlign(dc, TA_LEFT | TA_BASELINE);
    // Each character is laid at the origin on its own baseline, so one
    // slant about y = 0 is every glyph's own; the circle's turn comes after.
    bool slanted = false;
    if (slant != 0 && SetGraphicsMode(dc, GM_ADVANCED) != 0) {
        slanted = SetWorldTransform(dc, obliqueTransform(slant, 0, 0, 0, true));
        if (!slanted)
            SetGraphicsMode(dc, GM_COMPATIBLE);
    }
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
    if (slanted) {
        ModifyWorldTransform(dc, nullptr, MWT_IDENTITY);
        SetGraphicsMode(dc, GM_COMPATIBLE);
    }
    SetTextAlign(dc, 0);
    if (!glyphs.empty()) {
        for (const auto& band : {run.underline, run.strikeout})
            if (band)
                bandOnArc(dc, line, run.length(), *band, centre);
    }
}

} // namespace lw
