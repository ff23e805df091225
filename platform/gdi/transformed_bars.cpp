#include "platform/gdi/transformed_bars.hpp"

#include "platform/gdi/selected.hpp"

#include <vector>

namespace lw {
namespace {

struct Figure {
    std::vector<::POINT> points;
    std::vector<BYTE> types;
    bool operator==(const Figure& other) const
    {
        if (types != other.types || points.size() != other.points.size())
            return false;
        for (std::size_t i = 0; i < points.size(); ++i)
            if (points[i].x != other.points[i].x || points[i].y != other.points[i].y)
                return false;
        return true;
    }
};

bool transformed(HDC dc)
{
    if (GetGraphicsMode(dc) != GM_ADVANCED)
        return false;
    XFORM t{};
    if (!GetWorldTransform(dc, &t))
        return false;
    return t.eM11 != 1 || t.eM12 != 0 || t.eM21 != 0 || t.eM22 != 1 || t.eDx != 0 || t.eDy != 0;
}

::HFONT withoutBars(::HFONT font)
{
    LOGFONTW description{};
    if (!font || !GetObjectW(font, sizeof description, &description))
        return nullptr;
    description.lfUnderline = description.lfStrikeOut = 0;
    return CreateFontIndirectW(&description);
}

// The line as drawn into a path of `scratch`, figure by figure.
std::vector<Figure> figuresOf(HDC scratch, const LogicalFont& font,
                              const std::function<bool(HDC, const LogicalFont&)>& draw)
{
    std::vector<Figure> figures;
    Selected selected(scratch, font.handle);
    BeginPath(scratch);
    const bool drawn = draw(scratch, font);
    EndPath(scratch);
    const int n = GetPath(scratch, nullptr, nullptr, 0);
    if (!drawn || n <= 0)
        return figures;
    std::vector<::POINT> points(static_cast<std::size_t>(n));
    std::vector<BYTE> types(static_cast<std::size_t>(n));
    if (GetPath(scratch, points.data(), types.data(), n) != n)
        return figures;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if ((types[i] & ~PT_CLOSEFIGURE) == PT_MOVETO || figures.empty())
            figures.emplace_back();
        figures.back().points.push_back(points[i]);
        figures.back().types.push_back(types[i]);
    }
    return figures;
}

// The figures of `barred` that `bare` lacks: the bars, which GDI adds
// after each run's glyphs.
std::vector<Figure> barsOf(const std::vector<Figure>& barred, const std::vector<Figure>& bare)
{
    std::vector<Figure> bars;
    std::size_t j = 0;
    for (const Figure& f : barred) {
        if (j < bare.size() && f == bare[j])
            ++j;
        else
            bars.push_back(f);
    }
    return bars;
}

} // namespace

bool drawWithTransformedBars(HDC dc, const LogicalFont& font, bool pathOpen,
                             const std::function<bool(HDC, const LogicalFont&)>& draw)
{
    LOGFONTW description{};
    if (!pathOpen || !transformed(dc) || !GetObjectW(font.handle, sizeof description, &description) ||
        (!description.lfUnderline && !description.lfStrikeOut))
        return draw(dc, font);
    LogicalFont bare = font;
    bare.handle = withoutBars(font.handle);
    bare.shiftJis = font.shiftJis ? withoutBars(font.shiftJis) : nullptr;
    // The same line, untransformed, on a device context of its own: its
    // bars are where GDI puts them before any transform.
    HDC scratch = CreateCompatibleDC(dc);
    SetGraphicsMode(scratch, GM_ADVANCED);
    SetMapMode(scratch, GetMapMode(dc));
    SetTextAlign(scratch, GetTextAlign(dc));
    SetTextCharacterExtra(scratch, GetTextCharacterExtra(dc));
    bool drawn = false;
    if (bare.handle && (bare.shiftJis || !font.shiftJis) && scratch) {
        const std::vector<Figure> bars = barsOf(figuresOf(scratch, font, draw), figuresOf(scratch, bare, draw));
        {
            Selected selected(dc, bare.handle);
            drawn = draw(dc, bare);
        }
        for (const Figure& bar : bars)
            drawn = PolyDraw(dc, bar.points.data(), bar.types.data(), int(bar.points.size())) && drawn;
    } else {
        drawn = draw(dc, font);
    }
    if (scratch)
        DeleteDC(scratch);
    if (bare.handle)
        DeleteObject(bare.handle);
    if (bare.shiftJis)
        DeleteObject(bare.shiftJis);
    return drawn;
}

} // namespace lw
