#include "platform/gdi/linked_text.hpp"

#include "platform/gdi/exact_width.hpp"
#include "platform/gdi/line_bars.hpp"
#include "platform/gdi/selected.hpp"

#include <cmath>
#include <numbers>

namespace lw {
namespace {

const wchar_t* wideOf(std::u16string_view text) { return reinterpret_cast<const wchar_t*>(text.data()); }

// The run's face is the one selected in `dc`; `widthExact` (pixels, 0 for
// none) is the font's exact width.
bool drawRun(HDC dc, int x, int y, std::u16string_view text, const int* advances, double widthExact = 0)
{
    if (advances && widthExact > 0) {
        const double scale = exactWidthCorrection(dc, widthExact);
        if (std::fabs(scale - 1) > 1e-9)
            return drawScaledRun(dc, x, y, text, advances, scale);
    }
    if (advances)
        return ::ExtTextOutW(dc, x, y, 0, nullptr, wideOf(text), UINT(text.size()), advances) != 0;
    return ::TextOutW(dc, x, y, wideOf(text), int(text.size())) != 0;
}

} // namespace

std::vector<TextRun> linkedRuns(HDC dc, const LogicalFont& font, std::u16string_view text)
{
    if (text.empty())
        return {};
    if (!font.shiftJis)
        return {{0, text.size(), font.handle}};
    std::vector<WORD> glyphs(text.size());
    {
        Selected own(dc, font.handle);
        if (GetGlyphIndicesW(dc, wideOf(text), int(text.size()), glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS)
            == GDI_ERROR)
            return {{0, text.size(), font.handle}};
    }
    std::vector<TextRun> runs;
    for (std::size_t i = 0; i < text.size(); ++i) {
        // The two halves of a surrogate pair stay in one face.
        const bool trail = i > 0 && text[i] >= 0xDC00 && text[i] <= 0xDFFF && text[i - 1] >= 0xD800
                           && text[i - 1] <= 0xDBFF;
        ::HFONT face = trail ? runs.back().face : glyphs[i] == 0xFFFF ? font.shiftJis : font.handle;
        if (!runs.empty() && runs.back().face == face)
            ++runs.back().count;
        else
            runs.push_back({i, 1, face});
    }
    return runs;
}

bool drawLinkedText(HDC dc, const LogicalFont& font, int x, int y, std::u16string_view text, const int* advances,
                    bool exactWidth)
{
    const std::vector<TextRun> runs = linkedRuns(dc, font, text);
    if (runs.empty())
        return true;
    const double widthExact = exactWidth ? font.widthExact : 0;
    if (runs.size() == 1 && runs[0].face == font.handle)
        return drawRun(dc, x, y, text, advances, widthExact);
    // Another face, or several: GDI would place each run by its own face's
    // ascent, so the line is laid out here from the left end of the font's
    // own baseline, also where the fallback draws all of it.
    std::vector<int> widths;
    for (const TextRun& run : runs) {
        int width = 0;
        if (advances) {
            for (std::size_t k = run.first; k < run.first + run.count; ++k)
                width += advances[k];
        } else {
            Selected face(dc, run.face);
            SIZE extent{};
            GetTextExtentPoint32W(dc, wideOf(text.substr(run.first, run.count)), int(run.count), &extent);
            width = extent.cx;
        }
        widths.push_back(width);
    }
    const LineBars bars(font);
    int total = 0;
    for (int width : widths)
        total += width;
    const bool drawn = placeRuns(dc, font, x, y, widths, [&](std::size_t r, int at, int atY) {
        const TextRun& run = runs[r];
        Selected face(dc, bars.face(run.face));
        return drawRun(dc, at, atY, text.substr(run.first, run.count), advances ? advances + run.first : nullptr,
                       widthExact);
    });
    return bars.draw(dc, font, x, y, total) && drawn;
}

bool placeRuns(HDC dc, const LogicalFont& font, int x, int y, const std::vector<int>& widths,
               const std::function<bool(std::size_t run, int x, int y)>& draw)
{
    int total = 0;
    for (int width : widths)
        total += width;
    const UINT align = ::GetTextAlign(dc);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    LOGFONTW logFont{};
    GetObjectW(font.handle, sizeof logFont, &logFont);
    const UINT across = align & (TA_LEFT | TA_RIGHT | TA_CENTER), down = align & (TA_TOP | TA_BOTTOM | TA_BASELINE);
    const double startAlong = across == TA_CENTER ? -(total / 2) : across == TA_RIGHT ? -total : 0;
    const double baselineBelow = down == TA_TOP ? metrics.tmAscent : down == TA_BOTTOM ? -metrics.tmDescent : 0;
    // Escapement turns the line counter-clockwise as seen on the screen (y down).
    const double angle = logFont.lfEscapement / 10.0 * std::numbers::pi / 180.0;
    const double alongX = std::cos(angle), alongY = -std::sin(angle);
    const double downX = std::sin(angle), downY = std::cos(angle);
    ::SetTextAlign(dc, TA_LEFT | TA_BASELINE);
    bool ok = true;
    double pen = startAlong;
    for (std::size_t r = 0; r < widths.size(); ++r) {
        const int at = int(std::lround(x + pen * alongX + baselineBelow * downX));
        const int atY = int(std::lround(y + pen * alongY + baselineBelow * downY));
        ok = draw(r, at, atY) && ok;
        pen += widths[r];
    }
    ::SetTextAlign(dc, align);
    return ok;
}

} // namespace lw
