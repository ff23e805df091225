#include "platform/gdi/exact_width.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace lw {
namespace {

LOGFONTW selectedDescription(HDC dc)
{
    LOGFONTW font{};
    GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font);
    return font;
}

UINT emSquareOf(HDC dc)
{
    const UINT size = GetOutlineTextMetricsW(dc, 0, nullptr);
    if (size < sizeof(OUTLINETEXTMETRICW))
        return 0;
    std::vector<char> buffer(size);
    auto* outline = reinterpret_cast<OUTLINETEXTMETRICW*>(buffer.data());
    return GetOutlineTextMetricsW(dc, size, outline) ? outline->otmEMSquare : 0;
}

} // namespace

double selectedEm(HDC dc)
{
    const LOGFONTW font = selectedDescription(dc);
    if (font.lfHeight < 0)
        return -double(font.lfHeight);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    return double(metrics.tmHeight - metrics.tmInternalLeading);
}

double exactAverageWidth(HDC dc)
{
    const UINT emSquare = emSquareOf(dc);
    if (emSquare == 0)
        return 0;
    // Read from the font file, as the metrics GDI reports add a synthetic
    // bold's pixel the ratio does not count.
    constexpr DWORD kOs2 = DWORD('O') | DWORD('S') << 8 | DWORD('/') << 16 | DWORD('2') << 24;
    unsigned char bytes[2]{};
    const int fileAverage = GetFontData(dc, kOs2, 2, bytes, 2) == 2 ? std::int16_t(bytes[0] << 8 | bytes[1]) : 0;
    const double average = fileAverage > 0 ? fileAverage : emSquare / 2.0;
    return average * selectedEm(dc) / emSquare;
}

double lfWidthRatio(HDC dc)
{
    const LOGFONTW font = selectedDescription(dc);
    if (font.lfWidth == 0)
        return 1;
    const double natural = std::floor(exactAverageWidth(dc) + 0.5);
    return natural > 0 ? std::fabs(double(font.lfWidth)) / natural : 1;
}

double exactWidthRatio(HDC dc, double widthExact)
{
    const double average = exactAverageWidth(dc);
    return average > 0 && widthExact > 0 ? widthExact / average : 1;
}

double exactWidthCorrection(HDC dc, double widthExact)
{
    if (widthExact <= 0 || selectedDescription(dc).lfFaceName[0] == L'@')
        return 1;
    return exactWidthRatio(dc, widthExact) / lfWidthRatio(dc);
}

bool drawScaledRun(HDC dc, int x, int y, std::u16string_view text, const int* advances, double scale)
{
    const auto count = text.size();
    // Each start narrowed and rounded on its own, so no rounding adds up;
    // widened again, a glyph stands within half a pixel of its start.
    std::vector<int> narrowed(count);
    double pen = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const double next = pen + advances[k];
        narrowed[k] = int(std::lround(next / scale) - std::lround(pen / scale));
        pen = next;
    }
    HDC own = CreateCompatibleDC(dc);
    if (!own)
        return false;
    HGDIOBJ previous = ::SelectObject(own, GetCurrentObject(dc, OBJ_FONT));
    // The same reading of the font's angles; a world transform of `dc`
    // applies to the points drawn into it, so none is copied.
    ::SetGraphicsMode(own, ::GetGraphicsMode(dc));
    ::SetTextAlign(own, ::GetTextAlign(dc));
    ::SetTextCharacterExtra(own, ::GetTextCharacterExtra(dc));
    ::SetBkMode(own, TRANSPARENT);
    ::BeginPath(own);
    bool ok = ::ExtTextOutW(own, x, y, 0, nullptr, reinterpret_cast<const wchar_t*>(text.data()), UINT(count),
                            narrowed.data()) != 0;
    ::EndPath(own);
    const int n = ::GetPath(own, nullptr, nullptr, 0);
    std::vector<::POINT> points(std::size_t(std::max(n, 0)));
    std::vector<BYTE> types(points.size());
    if (n > 0 && ::GetPath(own, points.data(), types.data(), n) == n) {
        // Along the baseline, which the escapement turns counter-clockwise
        // as seen on the screen (y down).
        const double angle = selectedDescription(dc).lfEscapement / 10.0 * std::numbers::pi / 180.0;
        const double alongX = std::cos(angle), alongY = -std::sin(angle);
        for (::POINT& p : points) {
            const double dx = p.x - x, dy = p.y - y;
            const double stretch = (scale - 1) * (dx * alongX + dy * alongY);
            p.x = LONG(std::lround(p.x + stretch * alongX));
            p.y = LONG(std::lround(p.y + stretch * alongY));
        }
        ok = ::PolyDraw(dc, points.data(), types.data(), n) != 0 && ok;
    }
    ::SelectObject(own, previous);
    DeleteDC(own);
    return ok;
}

} // namespace lw
