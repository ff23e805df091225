#include "outline/text_output.hpp"

#include "base/codepage.hpp"
#include "base/numbers.hpp"
#include "outline/oblique.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace lw {

void setLogFont(LOGFONT& logFont, std::string_view faceName, std::int32_t height,
                std::int32_t angle, const WindowFont& windowFont)
{
    logFont.lfHeight = checkedMul32(height, -1);
    logFont.lfWidth = 0;
    logFont.lfWidthExact = 0;
    logFont.lfWeight = FW_NORMAL;
    // The attributes are the low byte of the toolkit's true value, -1.
    logFont.lfItalic = windowFont.italic ? 255 : 0;
    logFont.lfUnderline = windowFont.underline ? 255 : 0;
    logFont.lfStrikeOut = windowFont.strikeout ? 255 : 0;
    logFont.lfCharSet = SHIFTJIS_CHARSET;
    logFont.lfOutPrecision = OUT_TT_PRECIS;
    logFont.lfClipPrecision = 0;
    logFont.lfQuality = 0;
    logFont.lfPitchAndFamily = 0;

    std::u16string name = utf8ToUtf16(faceName);
    name.push_back(u'\0');
    logFont.lfFaceName.fill(u' ');
    std::copy_n(name.begin(), std::min(name.size(), logFont.lfFaceName.size()),
                logFont.lfFaceName.begin());

    logFont.lfOrientation = 0;
    logFont.lfEscapement = checkedMul32(angle, 10);
}

LOGFONTA toAnsiLogFont(const LOGFONT& logFont)
{
    LOGFONTA a;
    a.lfHeight = logFont.lfHeight;
    a.lfWidth = logFont.lfWidth;
    a.lfEscapement = logFont.lfEscapement;
    a.lfOrientation = logFont.lfOrientation;
    a.lfWeight = logFont.lfWeight;
    a.lfItalic = logFont.lfItalic;
    a.lfUnderline = logFont.lfUnderline;
    a.lfStrikeOut = logFont.lfStrikeOut;
    a.lfCharSet = logFont.lfCharSet;
    a.lfOutPrecision = logFont.lfOutPrecision;
    a.lfClipPrecision = logFont.lfClipPrecision;
    a.lfQuality = logFont.lfQuality;
    a.lfPitchAndFamily = logFont.lfPitchAndFamily;
    a.lfWidthExact = logFont.lfWidthExact;
    std::u16string_view face(logFont.lfFaceName.data(), logFont.lfFaceName.size());
    std::string bytes = toCp932(utf16ToUtf8(face));
    std::copy_n(bytes.begin(), std::min(bytes.size(), a.lfFaceName.size()), a.lfFaceName.begin());
    return a;
}

void applyTextStyle(DeviceContext& dc, LOGFONT& logFont, const TextStyle& style)
{
    SetTextShaping(dc, style.shaping);
    logFont.lfWeight = style.bold ? FW_BOLD : FW_NORMAL;
    logFont.lfWidth = 0;
    logFont.lfWidthExact = 0;
    if (style.widthPercent == 100)
        return;
    // Measured upright and at the designed weight, so the ratio is the same
    // at every angle and bold does not change the width asked for.
    LOGFONT designed = logFont;
    designed.lfWeight = FW_NORMAL;
    designed.lfEscapement = designed.lfOrientation = 0;
    SelectedFont font(dc, CreateFontIndirectA(toAnsiLogFont(designed)));
    TEXTMETRICA metrics;
    if (!GetTextMetricsA(dc, &metrics) || metrics.tmAveCharWidth <= 0)
        return;
    const double width = double(metrics.tmAveCharWidth) * style.widthPercent / 100;
    logFont.lfWidth = std::max<std::int32_t>(1, roundToInt32(width, "character width"));
    if (metrics.tmAveCharWidthExact > 0)
        logFont.lfWidthExact = float(metrics.tmAveCharWidthExact * style.widthPercent / 100);
}

LOGFONT withAdvances(const LOGFONT& logFont, Advances advances)
{
    LOGFONT laid = logFont;
    // Whole-pixel device advances are the platform's own lfWidth at this
    // resolution, whose rounding the classic capture keeps.
    if (advances == Advances::Device)
        laid.lfWidthExact = 0;
    return laid;
}

void outputText(DeviceContext& dc, const LOGFONT& logFont, std::string_view text,
                std::int32_t alignment, std::int32_t x, std::int32_t y, Advances advances, double spacing,
                double slant)
{
    std::uint32_t flags = alignment == 1 ? (TA_CENTER | TA_TOP) : (TA_LEFT | TA_TOP);
    const std::string bytes = toCp932(text);
    const int count = static_cast<int>(std::min<std::size_t>(bytes.size(), std::numeric_limits<int>::max()));
    // Selected until the end of this call, and deselected and deleted on
    // every way out of it.
    SelectedFont font(
        dc, CreateFontIndirectA(toAnsiLogFont(withAdvances(slant == 0 ? logFont : slantedFont(logFont), advances))));
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, flags);
    const SlantedLine slanted(dc, logFont, slant, x, y);
    if (slanted.slanted()) {
        x = slanted.x();
        y = slanted.y();
        SetTextAlign(dc, (alignment == 1 ? TA_CENTER : TA_LEFT) | TA_BASELINE);
    }
    if (advances == Advances::Linear) {
        // Each start rounded on its own, so no rounding adds up along the line.
        std::vector<double> linear;
        GetLinearAdvances(dc, bytes.data(), count, linear);
        std::vector<int> whole(linear.size());
        double pen = 0;
        for (std::size_t i = 0; i < linear.size(); ++i) {
            const double next = pen + linear[i] + spacing;
            whole[i] = int(std::lround(next) - std::lround(pen));
            pen = next;
        }
        ExtTextOutA(dc, x, y, bytes.data(), count, whole.data());
    } else if (slanted.slanted()) {
        // Under a world transform Wine adds the character extra outside it
        // (measured: 27 px off for three characters turned by 90°): each
        // advance is given instead, rounded as the designed capture's.
        std::vector<double> linear;
        GetLinearAdvances(dc, bytes.data(), count, linear);
        std::vector<int> whole(linear.size());
        for (std::size_t i = 0; i < linear.size(); ++i)
            whole[i] = int(std::lround(linear[i]) + std::lround(spacing));
        ExtTextOutA(dc, x, y, bytes.data(), count, whole.data());
    } else {
        SetTextCharacterExtra(dc, static_cast<int>(std::lround(spacing)));
        TextOutA(dc, x, y, bytes.data(), count);
        SetTextCharacterExtra(dc, 0);
    }
    SetTextJustification(dc, 0, 0);
    SetTextAlign(dc, 0);
}

} // namespace lw
