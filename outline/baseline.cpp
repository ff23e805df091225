#include "outline/baseline.hpp"

#include "outline/text_output.hpp"

#include <cmath>
#include <numbers>
#include <vector>

namespace lw {
namespace {

// The sum of the y of every point of a one-letter line aligned by `flags`,
// with its point count. Underlined, so it has points whatever the font.
long long probeSum(DeviceContext& dc, const LOGFONTA& probe, std::uint32_t flags, int& count)
{
    BeginPath(dc);
    {
        SelectedFont font(dc, CreateFontIndirectA(probe));
        SetTextAlign(dc, flags);
        TextOutA(dc, 0, 0, "H", 1);
        SetTextAlign(dc, 0);
    }
    EndPath(dc);
    FlattenPath(dc);
    count = GetPath(dc, nullptr, nullptr, 0);
    if (count <= 0)
        return 0;
    std::vector<POINT> points(static_cast<std::size_t>(count));
    std::vector<std::uint8_t> types(static_cast<std::size_t>(count));
    count = GetPath(dc, points.data(), types.data(), count);
    long long sum = 0;
    for (int i = 0; i < count; ++i)
        sum += points[std::size_t(i)].y;
    return sum;
}

} // namespace

int captureAscent(DeviceContext& dc, const LOGFONT& logFont)
{
    LOGFONT upright = logFont;
    upright.lfEscapement = upright.lfOrientation = 0;
    upright.lfUnderline = 1;
    upright.lfStrikeOut = 0;
    const LOGFONTA probe = toAnsiLogFont(upright);
    int topCount = 0, baselineCount = 0;
    const long long top = probeSum(dc, probe, TA_LEFT | TA_TOP, topCount);
    const long long baseline = probeSum(dc, probe, TA_LEFT | TA_BASELINE, baselineCount);
    if (topCount <= 0 || topCount != baselineCount)
        return 0;
    // The ascent is a whole pixel, so every point moves by it exactly; the
    // mean only guards against a rounding tie landing either way.
    return int(std::lround(double(top - baseline) / topCount));
}

MmPlacement baselinePlacement(DeviceContext& dc, const LOGFONT& logFont, double dpi)
{
    const double ascent = captureAscent(dc, logFont);
    const double turn = logFont.lfEscapement / 10.0 * std::numbers::pi / 180;
    // Counter-clockwise on a screen whose y grows downwards, as the text turns.
    return {ascent * std::sin(turn), ascent * std::cos(turn), dpi};
}

} // namespace lw
