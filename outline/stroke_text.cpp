#include "outline/stroke_text.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lw {
namespace {

constexpr double kMmPerPoint = kMmPerInch / 72;

struct Placed {
    const StrokeFont* font;
    const StrokeGlyph* glyph; // nullptr: a space the face lacks
    double x;                 // the pen's start, in mm
    bool upright;             // turned in its cell (vertical writing)
};

void noteUse(std::vector<StrokeFaceUse>& uses, const StrokeFont* font, char32_t c)
{
    auto it = std::find_if(uses.begin(), uses.end(), [&](const StrokeFaceUse& u) { return u.font == font; });
    if (it == uses.end())
        it = uses.insert(uses.end(), {font, {}});
    if (it->characters.find(c) == std::u32string::npos)
        it->characters += c;
}

// The anchor's point of the box (mm, the text's own frame, y up).
MmPoint anchorPoint(Anchor a, double advance, double ascent, double descent)
{
    double x = 0, y = 0;
    switch (a) {
    case Anchor::TopLeft: case Anchor::MiddleLeft: case Anchor::BottomLeft: case Anchor::BaselineLeft: x = 0; break;
    case Anchor::TopCentre: case Anchor::Centre: case Anchor::BottomCentre: case Anchor::BaselineCentre:
        x = advance / 2;
        break;
    case Anchor::TopRight: case Anchor::MiddleRight: case Anchor::BottomRight: case Anchor::BaselineRight:
        x = advance;
        break;
    }
    switch (a) {
    case Anchor::TopLeft: case Anchor::TopCentre: case Anchor::TopRight: y = ascent; break;
    case Anchor::MiddleLeft: case Anchor::Centre: case Anchor::MiddleRight: y = (ascent - descent) / 2; break;
    case Anchor::BottomLeft: case Anchor::BottomCentre: case Anchor::BottomRight: y = -descent; break;
    case Anchor::BaselineLeft: case Anchor::BaselineCentre: case Anchor::BaselineRight: y = 0; break;
    }
    return {x, y};
}

} // namespace

bool isWideCharacter(char32_t c)
{
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF && c != 0x303F) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

StrokeLayout layStrokeText(std::u32string_view text, const StrokeFont& font, const StrokeFallback& fallback,
                           const StrokeStyle& style)
{
    StrokeLayout out;
    out.lines.penMm = style.penMm;
    const double emMm = style.sizePoints * kMmPerPoint;
    const double widthScale = style.widthPercent / 100.0;
    const double spacing = style.spacingPoints * kMmPerPoint;

    // The characters' places along the baseline.
    std::vector<Placed> placed;
    placed.reserve(text.size());
    double pen = 0, end = 0;
    for (const char32_t c : text) {
        const StrokeFont* face = &font;
        const StrokeGlyph* glyph = nullptr;
        if (const auto it = font.glyphs.find(c); it != font.glyphs.end()) {
            glyph = &it->second;
        } else if (c != U' ') {
            face = fallback ? fallback(c) : nullptr;
            if (!face) {
                if (out.missing.find(c) == std::u32string::npos)
                    out.missing += c;
                continue;
            }
            glyph = &face->glyphs.at(c);
            noteUse(out.fallbacks, face, c);
        }
        const bool upright = style.vertical && isWideCharacter(c);
        const double advance = upright ? emMm : glyph ? glyph->advance * emMm / face->em : emMm / 4;
        if (!placed.empty())
            pen += spacing;
        placed.push_back({face, glyph, pen, upright});
        pen += advance * widthScale;
        end = pen;
    }

    const MmPoint anchor = anchorPoint(style.anchor, end, font.ascent * emMm / font.em,
                                       font.descent * emMm / font.em);
    const double turn = style.angle % 360 * std::numbers::pi / 180;
    const double cosA = std::cos(turn), sinA = std::sin(turn);
    const double mirrorX = style.mirror == Mirror::X ? -1 : 1, mirrorY = style.mirror == Mirror::Y ? -1 : 1;
    std::size_t points = 0, strokes = 0;
    for (const Placed& p : placed) {
        if (!p.glyph)
            continue;
        for (const auto& stroke : p.glyph->strokes)
            points += stroke.size(), ++strokes;
    }
    // Every point written through a pointer into room made once, as a long
    // line's cost is this loop; what repeats or stays single is dropped
    // after, by moving the pointer back.
    out.lines.points.resize(points);
    out.lines.ends.reserve(strokes);
    MmPoint* const begin = out.lines.points.data();
    MmPoint* q = begin;
    for (const Placed& p : placed) {
        if (!p.glyph)
            continue;
        const double scale = emMm / p.font->em;
        const bool upright = p.upright;
        // The middle of the em cell a wide character turns about.
        const double cellX = emMm / 2, cellY = (p.font->ascent - p.font->descent) * scale / 2;
        const double inset = (emMm - p.glyph->advance * scale) / 2;
        for (const auto& stroke : p.glyph->strokes) {
            MmPoint* const first = q;
            for (const StrokePoint& s : stroke) {
                double x = s.x * scale, y = s.y * scale;
                if (upright) {
                    x += inset;
                    const double dx = x - cellX, dy = y - cellY;
                    x = cellX - dy;
                    y = cellY + dx;
                }
                x = p.x + x * widthScale - anchor.x;
                y -= anchor.y;
                const double qx = mirrorX * (x * cosA - y * sinA), qy = mirrorY * (x * sinA + y * cosA);
                if (q == first || q[-1].x != qx || q[-1].y != qy)
                    *q++ = {qx, qy};
            }
            // A stroke the scale turned into one point draws nothing.
            if (q - first >= 2)
                out.lines.ends.push_back(std::size_t(q - begin));
            else
                q = first;
        }
    }
    out.lines.points.resize(std::size_t(q - begin));
    return out;
}

} // namespace lw
