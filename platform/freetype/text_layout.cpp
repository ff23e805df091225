// TextOutA in the FreeType backend: one line of glyphs laid into the open
// path with the platform's placement rules (whole-pixel ascent and advances,
// alignment flags, escapement about the reference point, synthetic italic
// and bold, the width of lfWidth, character extra, underline and strikeout
// rectangles, then the world transform where one is set).

#include "platform/freetype/flat_glyph.hpp"
#include "platform/freetype/shaped_line.hpp"
#include "platform/freetype/state.hpp"

#include "base/codepage.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <optional>
#include <utility>

namespace lw {
namespace {

using State = DeviceContext::State;

// tan 12°, rounded: the shear of FreeType's own synthetic oblique
// (FT_GlyphSlot_Oblique), the usual slant of a simulated italic.
constexpr double kSyntheticSlant = 0.21;

// glibc's default threshold for mapping an allocation on its own: a line's
// glyph list below it comes from the heap's free room at little cost.
constexpr std::size_t kLaidRoomKept = 128 * 1024;

double roundPixel(double v) { return std::floor(v + 0.5); }

// The escapement's rotation about the reference point, then the world
// transform where one is set.
class Placement {
public:
    Placement(double originX, double originY, double angleDegrees, const std::optional<XFORM>& world)
        : originX_(originX), originY_(originY), world_(world)
    {
        double radians = angleDegrees * std::numbers::pi / 180.0;
        cos_ = std::cos(radians);
        sin_ = std::sin(radians);
        if (std::fmod(angleDegrees, 90.0) == 0) {
            // Exact quarter turns keep pixel-exact coordinates.
            cos_ = std::round(cos_);
            sin_ = std::round(sin_);
        }
    }

    PointF device(double lx, double ly) const
    {
        // Counter-clockwise as seen on a screen whose y grows downwards.
        const PointF p{originX_ + lx * cos_ + ly * sin_, originY_ - lx * sin_ + ly * cos_};
        if (!world_)
            return p;
        const XFORM& t = *world_;
        return {p.x * t.eM11 + p.y * t.eM21 + t.eDx, p.x * t.eM12 + p.y * t.eM22 + t.eDy};
    }

private:
    double originX_, originY_, cos_, sin_;
    std::optional<XFORM> world_;
};

// The em height in pixels the description asks for: negative heights are
// the em height, positive ones the cell height.
double emOf(const LOGFONTA& d, const FontFace& primary)
{
    return d.lfHeight < 0 ? -double(d.lfHeight)
         : d.lfHeight > 0 ? double(d.lfHeight) * primary.unitsPerEm / double(primary.ascent + primary.descent)
                          : 16.0;
}

// A face's average character width at the em, in whole pixels: what
// lfWidth is measured against.
double averageWidthOf(const FontFace& face, double em)
{
    return roundPixel(face.averageWidth * em / face.unitsPerEm);
}

// A face's average character width at the em, unrounded.
double exactAverageWidthOf(const FontFace& face, double em) { return face.averageWidth * em / face.unitsPerEm; }

// How much lfWidth widens (or narrows) a face's glyphs and advances: its
// ratio to the average width that face has at this height; 1 without one.
// A fallback face takes it against its own average, as the platform's
// linked font takes the same lfWidth. An exact width stands against the
// unrounded average, where whole pixels would make the ratio differ from
// one resolution to the next.
double widthScaleOf(const LOGFONTA& d, const FontFace& face, double em)
{
    if (d.lfWidth == 0)
        return 1;
    if (d.lfWidthExact > 0) {
        const double exact = exactAverageWidthOf(face, em);
        return exact > 0 ? double(d.lfWidthExact) / exact : 1;
    }
    const double natural = averageWidthOf(face, em);
    if (natural <= 0)
        return 1;
    return std::fabs(double(d.lfWidth)) / natural;
}

// The width scale of each face of a line: the chosen face's once, a
// fallback's when one of its glyphs comes.
class WidthScales {
public:
    WidthScales(const LOGFONTA& d, const FontFace& primary, double em)
        : d_(d), em_(em), primary_(&primary), primaryScale_(widthScaleOf(d, primary, em))
    {
    }

    double of(const FontFace& face) const
    {
        return &face == primary_ ? primaryScale_ : widthScaleOf(d_, face, em_);
    }

private:
    const LOGFONTA& d_;
    double em_;
    const FontFace* primary_;
    double primaryScale_;
};

// A glyph's advance in font units: down the line for a turned glyph where
// its face has vertical metrics, as the platform advances it, else across.
double advanceOf(const GlyphRef& g, bool turned)
{
    return turned && g.outline->verticalAdvance > 0 ? g.outline->verticalAdvance : g.outline->advance;
}

// A glyph's advance in whole pixels: rounded at the em, then widened and
// taken up to the next whole pixel, as the platform widens its hinted advance.
double widenedAdvance(const GlyphRef& g, bool turned, double em, double xScale)
{
    const double designed = roundPixel(advanceOf(g, turned) * em / g.face->unitsPerEm);
    return xScale == 1 ? designed : std::ceil(designed * xScale - 1e-9);
}

// Vertical writing turns the characters that take two bytes in the
// Japanese code page (the full-width ones); the rest stay as in a line.
bool isFullWidth(char32_t c)
{
    return c >= 0x80 && toCp932(codepointsToUtf8(std::u32string_view(&c, 1))).size() == 2;
}

GlyphRef verticalGlyphFor(const FontFace& primary, char32_t c, bool bold)
{
    const bool thickened = bold && !primary.bold;
    if (const GlyphOutline* own = primary.verticalGlyph(c, thickened))
        return {&primary, own, thickened};
    return glyphFor(primary, c, bold);
}

// The platform's synthetic bold makes each character it thickens one pixel wider.
double boldExtraOf(const GlyphRef& g) { return g.emboldened ? 1 : 0; }

// Shaping by choice, for horizontal lines only: vertical writing keeps its
// own forms.
bool shapes(const DeviceContext::State& s, const LogicalFont& font) { return !s.shaping.isPlain() && !font.vertical; }

// A shaped line's glyphs into `laid`, returning the line's advance. Each
// glyph's step is rounded and widened as a character's is; the character
// extra follows each character of a cluster, after its last glyph. Given
// advances (one per character) place each cluster, its glyphs within it at
// their own unrounded steps.
double layShaped(const State& s, const FontFace& primary, std::u32string_view text, bool bold, double em,
                 const WidthScales& xScales, const int* given, std::vector<State::LaidGlyph>& laid)
{
    const std::vector<ShapedGlyph> shaped = shapeLine(primary, text, bold, s.shaping);
    double total = 0;
    double clusterLeft = 0; // of the cluster's given advance, what its glyphs have not taken
    for (std::size_t k = 0; k < shaped.size(); ++k) {
        const ShapedGlyph& g = shaped[k];
        const bool opens = k == 0 || shaped[k - 1].first != g.first;
        const bool closes = k + 1 == shaped.size() || shaped[k + 1].first != g.first;
        const double scale = em / g.ref.face->unitsPerEm;
        const double xScale = xScales.of(*g.ref.face);
        double advance = 0;
        if (given) {
            if (opens) {
                clusterLeft = 0;
                for (std::uint32_t c = g.first; c < g.end; ++c)
                    clusterLeft += given[c];
            }
            advance = closes ? clusterLeft : g.advance * scale * xScale;
            clusterLeft -= advance;
        } else {
            const double designed = roundPixel(g.advance * scale);
            advance = (xScale == 1 ? designed : std::ceil(designed * xScale - 1e-9)) + boldExtraOf(g.ref);
            if (closes)
                advance += double(s.charExtra) * (g.end - g.first);
        }
        laid.push_back({g.ref, advance, false, g.offsetX * scale * xScale, g.offsetY * scale});
        total += advance;
    }
    return total;
}

// One line of glyphs into the open path; each advance rounded to whole
// pixels, or taken from `given` (one per character) when there is one.
bool layOut(DeviceContext& dc, int x, int y, const char* bytes, int count, const int* given)
{
    auto& s = dc.state();
    if (s.pathState != DeviceContext::State::PathState::Open || !bytes || count <= 0)
        return true;
    LogicalFont& font = *s.font;
    const LOGFONTA& d = font.description;
    const FontFace& primary = faceOf(font);

    const double em = emOf(d, primary);
    const WidthScales xScales(d, primary, em);
    const bool bold = asksBold(d);
    double ascentPx = roundPixel(primary.ascent * em / primary.unitsPerEm);
    double descentPx = roundPixel(primary.descent * em / primary.unitsPerEm);

    // The line's glyphs and advances mean nothing after it is laid out; only
    // a long line's room stays with the device context.
    const std::u32string text = cp932ToCodepoints(std::string_view(bytes, std::size_t(count)));
    std::vector<State::LaidGlyph> laid;
    if (s.extras)
        laid.swap(s.extras->laid);
    laid.clear();
    laid.reserve(text.size());
    // Exactly the line's room: growth by doubling left up to half of what
    // a short line holds unused.
    if (s.glyphs.empty())
        s.glyphs.reserve(text.size());
    double total = 0;
    if (shapes(s, font)) {
        total = layShaped(s, primary, text, bold, em, xScales, given, laid);
    } else {
        for (char32_t c : text) {
            const bool turn = font.vertical && isFullWidth(c);
            GlyphRef g = turn ? verticalGlyphFor(primary, c, bold) : glyphFor(primary, c, bold);
            double advance = given ? double(given[laid.size()])
                                   : widenedAdvance(g, turn, em, xScales.of(*g.face)) + boldExtraOf(g) + s.charExtra;
            laid.push_back({g, advance, turn});
            total += advance;
        }
    }

    double startX = 0;
    if ((s.textAlign & TA_CENTER) == TA_CENTER)
        startX = -std::floor(total / 2);
    else if (s.textAlign & TA_RIGHT)
        startX = -total;
    double baseline = ascentPx;
    if ((s.textAlign & TA_BASELINE) == TA_BASELINE)
        baseline = 0;
    else if (s.textAlign & TA_BOTTOM)
        baseline = -descentPx;

    Placement place(x, y, d.lfEscapement / 10.0, s.world);
    auto append = [&](double lx, double ly, std::uint8_t type) {
        PointF p = place.device(lx, ly);
        s.addPathPoint({p.x, p.y, type});
    };

    // Each glyph goes into the path as its cached outline and the map onto
    // the device; FlattenPath reads the control points from there.
    double penX = startX;
    for (std::size_t i = 0; i < laid.size(); ++i) {
        const GlyphRef& g = laid[i].ref;
        double gscale = em / g.face->unitsPerEm;
        double slant = (d.lfItalic && !g.face->italic) ? kSyntheticSlant : 0.0;
        // Font units to device pixels in one affine map: scale, slant, y
        // flip onto the baseline, then the escapement's rotation.
        // A turned glyph goes a quarter turn counter-clockwise about its
        // reference point on the baseline before the escapement, where the
        // platform turns it (measured): its ink ends left of the pen.
        const double gx = penX + laid[i].offsetX, gy = baseline - laid[i].offsetY;
        const double cx = gx, cy = gy;
        auto local = [&](double lx, double ly) {
            return laid[i].turned ? place.device(cx + (ly - cy), cy - (lx - cx)) : place.device(lx, ly);
        };
        PointF origin = local(gx, gy);
        PointF ux = local(gx + gscale * xScales.of(*g.face), gy);
        PointF uy = local(gx + slant * gscale, gy - gscale);
        const double m00 = ux.x - origin.x, m10 = ux.y - origin.y;
        const double m01 = uy.x - origin.x, m11 = uy.y - origin.y;
        if (!g.outline->steps.empty())
            s.addGlyph(g.outline, {m00, m01, m10, m11}, origin.x, origin.y);
        penX += laid[i].advance;
    }
    // A short line's room goes back at once, so the device context holds
    // little beyond its outline; a long line's stays, where the allocator
    // would otherwise map fresh pages for it on every keystroke.
    if (laid.capacity() * sizeof(laid[0]) >= kLaidRoomKept)
        s.madeExtras().laid.swap(laid);

    // Underline and strikeout: one bar each over the whole advance, centred
    // as the platform centres it: position and thickness each in whole
    // pixels, and the thickness's odd pixel below the position.
    auto bar = [&](int position, int thickness) {
        const double unit = em / primary.unitsPerEm;
        const double height = std::max(1.0, std::round(thickness * unit));
        const double top = baseline - std::round(position * unit) - std::floor(height / 2);
        append(startX, top, PT_MOVETO);
        append(startX + total, top, PT_LINETO);
        append(startX + total, top + height, PT_LINETO);
        append(startX, top + height, PT_LINETO | PT_CLOSEFIGURE);
    };
    if (total > 0) {
        if (d.lfUnderline)
            bar(primary.underlinePosition, primary.underlineThickness);
        if (d.lfStrikeOut)
            bar(primary.strikeoutPosition, primary.strikeoutSize);
    }
    return true;
}

} // namespace

bool TextOutA(DeviceContext& dc, int x, int y, const char* bytes, int count)
{
    return layOut(dc, x, y, bytes, count, nullptr);
}

TextShaping SetTextShaping(DeviceContext& dc, const TextShaping& shaping)
{
    TextShaping previous = std::move(dc.state().shaping);
    dc.state().shaping = shaping;
    return previous;
}

bool ExtTextOutA(DeviceContext& dc, int x, int y, const char* bytes, int count, const int* advances)
{
    return layOut(dc, x, y, bytes, count, advances);
}

bool GetTextMetricsA(DeviceContext& dc, TEXTMETRICA* metrics)
{
    if (!metrics)
        return false;
    LogicalFont& font = *dc.state().font;
    const FontFace& primary = faceOf(font);
    const double em = emOf(font.description, primary);
    // As the layout rounds them.
    const auto ascent = std::int32_t(roundPixel(primary.ascent * em / primary.unitsPerEm));
    const auto descent = std::int32_t(roundPixel(primary.descent * em / primary.unitsPerEm));
    const LOGFONTA& d = font.description;
    const auto average = d.lfWidth != 0 ? std::abs(d.lfWidth) : std::int32_t(averageWidthOf(primary, em));
    const double exact = d.lfWidth == 0 ? exactAverageWidthOf(primary, em)
                       : d.lfWidthExact > 0 ? double(d.lfWidthExact)
                                            : double(average);
    *metrics = {ascent + descent, ascent, descent, average, exact};
    return true;
}

void GetLinearAdvances(DeviceContext& dc, const char* bytes, int count, std::vector<double>& advances)
{
    advances.clear();
    if (!bytes || count <= 0)
        return;
    LogicalFont& font = *dc.state().font;
    const FontFace& primary = faceOf(font);
    const double em = emOf(font.description, primary);
    const WidthScales xScales(font.description, primary, em);
    const bool bold = asksBold(font.description);
    const std::u32string text = cp932ToCodepoints(std::string_view(bytes, std::size_t(count)));
    if (shapes(dc.state(), font)) {
        advances.assign(text.size(), 0.0);
        for (const ShapedGlyph& g : shapeLine(primary, text, bold, dc.state().shaping))
            advances[g.first] += (g.advance * xScales.of(*g.ref.face) + boldExtraOf(g.ref)) * em / g.ref.face->unitsPerEm;
        return;
    }
    for (char32_t c : text) {
        const bool turn = font.vertical && isFullWidth(c);
        GlyphRef g = turn ? verticalGlyphFor(primary, c, bold) : glyphFor(primary, c, bold);
        // Synthetic bold's one pixel wider at the em of the face's own units.
        advances.push_back((advanceOf(g, turn) * xScales.of(*g.face) + boldExtraOf(g)) * em / g.face->unitsPerEm);
    }
}

} // namespace lw
