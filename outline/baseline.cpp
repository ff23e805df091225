#include "outline/baseline.hpp"

#include "outline/text_output.hpp"

#include <cmath>
#include <numbers>

namespace lw {

int captureAscent(DeviceContext& dc, const LOGFONT& logFont)
{
    LOGFONT upright = logFont;
    upright.lfEscapement = upright.lfOrientation = 0;
    SelectedFont font(dc, CreateFontIndirectA(toAnsiLogFont(upright)));
    TEXTMETRICA metrics;
    return GetTextMetricsA(dc, &metrics) ? metrics.tmAscent : 0;
}

MmPlacement baselinePlacement(DeviceContext& dc, const LOGFONT& logFont, double dpi)
{
    const double ascent = captureAscent(dc, logFont);
    const double turn = logFont.lfEscapement / 10.0 * std::numbers::pi / 180;
    // Counter-clockwise on a screen whose y grows downwards, as the text turns.
    return {ascent * std::sin(turn), ascent * std::cos(turn), dpi};
}

} // namespace lw
