#include "platform/gdi/shaped_text.hpp"

#include "platform/gdi/exact_width.hpp"
#include "platform/gdi/line_bars.hpp"
#include "platform/gdi/selected.hpp"
#include "platform/gdi/linked_text.hpp"

#include <usp10.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace lw {
namespace {

OPENTYPE_TAG tagOf(std::string_view name)
{
    char t[4] = {' ', ' ', ' ', ' '};
    std::copy_n(name.begin(), std::min<std::size_t>(name.size(), 4), t);
    return OPENTYPE_TAG(std::uint8_t(t[0])) | OPENTYPE_TAG(std::uint8_t(t[1])) << 8 |
           OPENTYPE_TAG(std::uint8_t(t[2])) << 16 | OPENTYPE_TAG(std::uint8_t(t[3])) << 24;
}

// As on Linux: kerning and the ligatures the system would apply on its own
// stay off unless asked, so a tag turns on exactly what it names.
std::vector<OPENTYPE_FEATURE_RECORD> recordsOf(const TextShaping& shaping)
{
    std::vector<OPENTYPE_FEATURE_RECORD> records;
    records.push_back({tagOf("kern"), shaping.kerning ? 1 : 0});
    for (const char* tag : {"liga", "clig", "calt"})
        if (std::find(shaping.features.begin(), shaping.features.end(), tag) == shaping.features.end())
            records.push_back({tagOf(tag), 0});
    for (const std::string& tag : shaping.features)
        records.push_back({tagOf(tag), 1});
    return records;
}

// A glyph's advance without kerning: Wine's placement kerns even when the
// kern feature is turned off.
int ownAdvance(HDC dc, WORD glyph)
{
    ABC abc{};
    if (GetCharABCWidthsI(dc, glyph, 1, nullptr, &abc))
        return abc.abcA + int(abc.abcB) + abc.abcC;
    INT width = 0;
    GetCharWidthI(dc, glyph, 1, nullptr, &width);
    return width;
}

// A cluster's given advance (the sum of its characters') spread over its
// glyphs: each but the last keeps its own, the last takes the rest.
std::vector<int> givenAdvances(const ShapedGlyphs& shaped, const int* given)
{
    std::vector<int> out(shaped.advances);
    std::size_t k = 0;
    while (k < out.size()) {
        int left = 0;
        for (std::size_t c = shaped.first[k]; c < shaped.end[k]; ++c)
            left += given[c];
        std::size_t last = k;
        for (; last + 1 < out.size() && shaped.first[last + 1] == shaped.first[k]; ++last)
            left -= out[last];
        out[last] = left;
        k = last + 1;
    }
    return out;
}

} // namespace

bool isVerticalFont(const LogicalFont& font)
{
    LOGFONTW logFont{};
    return GetObjectW(font.handle, sizeof logFont, &logFont) && logFont.lfFaceName[0] == L'@';
}

ShapedGlyphs shapeText(HDC dc, std::u16string_view text, const TextShaping& shaping)
{
    ShapedGlyphs out;
    if (text.empty())
        return out;
    const auto* chars = reinterpret_cast<const WCHAR*>(text.data());
    const int length = int(text.size());
    std::vector<SCRIPT_ITEM> items(text.size() + 1);
    std::vector<OPENTYPE_TAG> scripts(text.size() + 1);
    int itemCount = 0;
    if (FAILED(ScriptItemizeOpenType(chars, length, int(items.size()), nullptr, nullptr, items.data(), scripts.data(),
                                     &itemCount)))
        itemCount = 0;
    std::vector<OPENTYPE_FEATURE_RECORD> records = recordsOf(shaping);
    TEXTRANGE_PROPERTIES properties{records.data(), int(records.size())};
    TEXTRANGE_PROPERTIES* range = &properties;
    SCRIPT_CACHE cache = nullptr;
    for (int i = 0; i < itemCount; ++i) {
        const int at = items[std::size_t(i)].iCharPos, count = items[std::size_t(i) + 1].iCharPos - at;
        if (count <= 0)
            continue;
        int rangeChars = count;
        std::vector<WORD> cluster(std::size_t(count), 0);
        std::vector<SCRIPT_CHARPROP> charProps(static_cast<std::size_t>(count));
        int room = count * 3 / 2 + 16, glyphCount = 0;
        std::vector<WORD> glyphs;
        std::vector<SCRIPT_GLYPHPROP> glyphProps;
        HRESULT shaped = E_OUTOFMEMORY;
        for (int attempt = 0; attempt < 4 && shaped == E_OUTOFMEMORY; ++attempt, room *= 2) {
            glyphs.assign(std::size_t(room), 0);
            glyphProps.assign(std::size_t(room), {});
            shaped = ScriptShapeOpenType(dc, &cache, &items[std::size_t(i)].a, scripts[std::size_t(i)], 0, &rangeChars,
                                         &range, 1, chars + at, count, room, cluster.data(), charProps.data(),
                                         glyphs.data(), glyphProps.data(), &glyphCount);
        }
        std::vector<int> advances(std::size_t(std::max(glyphCount, 0)));
        std::vector<GOFFSET> offsets(advances.size());
        ABC abc{};
        if (FAILED(shaped) || glyphCount <= 0
            || FAILED(ScriptPlaceOpenType(dc, &cache, &items[std::size_t(i)].a, scripts[std::size_t(i)], 0, &rangeChars,
                                          &range, 1, chars + at, cluster.data(), charProps.data(), count,
                                          glyphs.data(), glyphProps.data(), glyphCount, advances.data(),
                                          offsets.data(), &abc))) {
            // A run the system cannot shape is each character's own glyph.
            for (int c = 0; c < count; ++c) {
                WORD glyph = 0;
                GetGlyphIndicesW(dc, chars + at + c, 1, &glyph, 0);
                out.glyphs.push_back(glyph);
                out.advances.push_back(ownAdvance(dc, glyph));
                out.first.push_back(std::size_t(at + c));
                out.end.push_back(std::size_t(at + c + 1));
            }
            continue;
        }
        // Left to right, the map of each character to its cluster's first
        // glyph only grows: a cluster is a stretch of equal entries.
        for (int c = 0; c < count;) {
            int d = c + 1;
            while (d < count && cluster[std::size_t(d)] == cluster[std::size_t(c)])
                ++d;
            const int glyphEnd = d < count ? cluster[std::size_t(d)] : glyphCount;
            for (int g = cluster[std::size_t(c)]; g < glyphEnd && g < glyphCount; ++g) {
                out.glyphs.push_back(glyphs[std::size_t(g)]);
                out.advances.push_back(shaping.kerning ? advances[std::size_t(g)] : ownAdvance(dc, glyphs[std::size_t(g)]));
                out.first.push_back(std::size_t(at + c));
                out.end.push_back(std::size_t(at + d));
            }
            c = d;
        }
    }
    ScriptFreeCache(&cache);
    return out;
}

bool drawShapedText(HDC dc, const LogicalFont& font, int x, int y, std::u16string_view text, const int* advances,
                    const TextShaping& shaping, bool exactWidth)
{
    const std::vector<TextRun> runs = linkedRuns(dc, font, text);
    std::vector<ShapedGlyphs> shaped;
    std::vector<std::vector<int>> steps;
    std::vector<int> widths;
    for (const TextRun& run : runs) {
        Selected face(dc, run.face);
        const std::u16string_view part = text.substr(run.first, run.count);
        shaped.push_back(shapeText(dc, part, shaping));
        steps.push_back(advances ? givenAdvances(shaped.back(), advances + run.first) : shaped.back().advances);
        int width = 0;
        for (int step : steps.back())
            width += step;
        widths.push_back(width);
    }
    // GDI would add the character extra to every glyph; each character of a
    // cluster takes it, after the cluster, as on Linux.
    const int extra = advances ? 0 : ::SetTextCharacterExtra(dc, 0);
    const bool taken = !advances;
    if (extra != 0)
        for (std::size_t r = 0; r < shaped.size(); ++r)
            for (std::size_t g = 0; g < shaped[r].glyphs.size(); ++g)
                if (g + 1 == shaped[r].glyphs.size() || shaped[r].first[g + 1] != shaped[r].first[g]) {
                    const int added = extra * int(shaped[r].end[g] - shaped[r].first[g]);
                    steps[r][g] += added;
                    widths[r] += added;
                }
    struct Restore {
        HDC dc;
        int extra;
        bool taken;
        ~Restore()
        {
            if (taken)
                ::SetTextCharacterExtra(dc, extra);
        }
    } restore{dc, extra, taken};
    auto drawGlyphs = [&](std::size_t r, int at, int atY) {
        const ShapedGlyphs& s = shaped[r];
        if (s.glyphs.empty())
            return true;
        if (advances && exactWidth && font.widthExact > 0) {
            const double scale = exactWidthCorrection(dc, font.widthExact);
            if (std::fabs(scale - 1) > 1e-9)
                return drawScaledRun(dc, at, atY, std::u16string_view(reinterpret_cast<const char16_t*>(s.glyphs.data()),
                                                                      s.glyphs.size()),
                                     steps[r].data(), scale, ETO_GLYPH_INDEX);
        }
        return ::ExtTextOutW(dc, at, atY, ETO_GLYPH_INDEX, nullptr, reinterpret_cast<LPCWSTR>(s.glyphs.data()),
                             UINT(s.glyphs.size()), steps[r].data()) != 0;
    };
    if (runs.size() == 1 && runs[0].face == font.handle)
        return drawGlyphs(0, x, y);
    const LineBars bars(font);
    int total = 0;
    for (int width : widths)
        total += width;
    const bool drawn = placeRuns(dc, font, x, y, widths, [&](std::size_t r, int at, int atY) {
        Selected face(dc, bars.face(runs[r].face));
        return drawGlyphs(r, at, atY);
    });
    return bars.draw(dc, font, x, y, total) && drawn;
}

} // namespace lw
