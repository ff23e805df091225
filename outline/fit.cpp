#include "outline/fit.hpp"

#include "base/codepage.hpp"
#include "base/numbers.hpp"
#include "outline/text_output.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace lw {
namespace {

struct Measured {
    double advance = 0; // pixels, without any spacing
    std::size_t characters = 0;
};

// The line's advance as outputText places the pen (see textFrame): the
// unrounded advances summed, or each rounded on its own.
Measured measure(DeviceContext& dc, const CaptureSource& source, const TextStyle& style, std::int32_t height)
{
    LOGFONT logFont{};
    setLogFont(logFont, source.font.faceName, height, 0, source.font);
    applyTextStyle(dc, logFont, style);
    SelectedFont font(dc, CreateFontIndirectA(toAnsiLogFont(logFont)));
    const std::string bytes = toCp932(source.text);
    std::vector<double> linear;
    GetLinearAdvances(dc, bytes.data(), int(std::min<std::size_t>(bytes.size(), std::numeric_limits<int>::max())),
                      linear);
    Measured m{0, linear.size()};
    for (const double a : linear)
        m.advance += source.advances == Advances::Linear ? a : double(std::lround(a));
    return m;
}

} // namespace

TextStyle fittedStyle(DeviceContext& dc, const CaptureSource& source)
{
    TextStyle style = source.style;
    if (!(style.fitMm > 0))
        return style;
    style.fitMm = 0;
    style.spacing = 0;
    const double factor = pixelsPerPoint(source.twipsPerPixelX);
    const double scaled = double(source.font.size) * factor;
    if (!std::isfinite(scaled))
        return style;
    const std::int32_t height = roundToInt32(scaled, "font height");
    // Millimetres at 1:1 to the capture's pixels: 72 points an inch.
    const double target = source.style.fitMm / 25.4 * 72 * factor;
    Measured m = measure(dc, source, style, height);
    if (m.characters == 0 || m.advance <= 0)
        return style;
    if (style.fitBy == TextStyle::FitBy::Width || m.characters == 1) {
        // The width scales the advances nearly in proportion; a second look
        // takes up what the platform's whole-pixel width rounded.
        for (int round = 0; round < 2 && m.advance > 0; ++round) {
            const double wanted = style.widthPercent * target / m.advance;
            style.widthPercent = std::int32_t(std::clamp<double>(std::round(wanted), TextStyle::kNarrowest,
                                                                 TextStyle::kWidest));
            m = measure(dc, source, style, height);
        }
    }
    if (m.characters > 1)
        style.spacing = (target - m.advance) / double(m.characters - 1) / factor;
    return style;
}

double capHeightPerEm(DeviceContext& dc, const WindowFont& font)
{
    // Large enough that whole pixels measure the share far within any grid.
    constexpr std::int32_t kEm = 16384;
    LOGFONT logFont{};
    setLogFont(logFont, font.faceName, kEm, 0, font);
    std::int32_t ascent = 0;
    {
        SelectedFont selected(dc, CreateFontIndirectA(toAnsiLogFont(logFont)));
        TEXTMETRICA metrics;
        if (!GetTextMetricsA(dc, &metrics))
            return 0;
        ascent = metrics.tmAscent;
    }
    BeginPath(dc);
    outputText(dc, logFont, "H", 0, 0, 0);
    EndPath(dc);
    FlattenPath(dc);
    const int n = GetPath(dc, nullptr, nullptr, 0);
    if (n <= 0)
        return 0;
    std::vector<POINT> points(std::size_t(n) + 1);
    std::vector<std::uint8_t> types(std::size_t(n) + 1);
    if (GetPath(dc, points.data(), types.data(), n) != n)
        return 0;
    std::int32_t top = std::numeric_limits<std::int32_t>::max();
    for (int i = 0; i < n; ++i)
        top = std::min(top, points[std::size_t(i)].y);
    // The capital stands on the baseline, tmAscent below the top-aligned origin.
    return top < ascent ? double(ascent - top) / kEm : 0;
}

} // namespace lw
