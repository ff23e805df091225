#include "outline/anchor.hpp"

#include "base/codepage.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace lw {

std::optional<Anchor> anchorNamed(std::string_view word)
{
    if (word == "center")
        return Anchor::Centre;
    for (std::size_t i = 0; i < std::size(kAnchorWords); ++i)
        if (word == kAnchorWords[i])
            return Anchor(i);
    // The American spelling of every "-centre".
    if (word.ends_with("-center")) {
        std::string british(word.substr(0, word.size() - 6));
        return anchorNamed(british + "centre");
    }
    return std::nullopt;
}

std::optional<Mirror> mirrorNamed(std::string_view word)
{
    for (std::size_t i = 0; i < std::size(kMirrorWords); ++i)
        if (word == kMirrorWords[i])
            return Mirror(i);
    return std::nullopt;
}

std::string_view anchorWord(Anchor anchor) { return kAnchorWords[std::size_t(anchor)]; }

TextFrame textFrame(DeviceContext& dc, const LOGFONT& logFont, std::string_view text, Advances advances,
                    double spacing)
{
    LOGFONT upright = withAdvances(logFont, advances);
    upright.lfEscapement = upright.lfOrientation = 0;
    SelectedFont font(dc, CreateFontIndirectA(toAnsiLogFont(upright)));
    TextFrame box;
    TEXTMETRICA metrics;
    if (GetTextMetricsA(dc, &metrics)) {
        box.ascent = metrics.tmAscent;
        box.descent = metrics.tmDescent;
    }
    const std::string bytes = toCp932(text);
    std::vector<double> linear;
    GetLinearAdvances(dc, bytes.data(), int(std::min<std::size_t>(bytes.size(), 0x7FFFFFFF)), linear);
    // As outputText places the pen: summed then rounded once, or rounded one by one.
    double sum = 0;
    for (const double a : linear)
        sum += advances == Advances::Linear ? a : double(std::lround(a));
    const double gaps = linear.empty() ? 0 : double(linear.size() - 1);
    if (advances == Advances::Linear)
        box.advance = double(std::lround(sum + spacing * gaps));
    else
        box.advance = sum + double(std::lround(spacing)) * gaps;
    return box;
}

MmPlacement anchoredPlacement(const MmPlacement& baseline, const TextFrame& box, Anchor anchor,
                              std::int32_t escapement)
{
    double along = 0; // along the baseline, towards the text's end
    double up = 0;    // across it, towards the ascent
    switch (anchor) {
    case Anchor::TopLeft: case Anchor::TopCentre: case Anchor::TopRight:
        up = box.ascent;
        break;
    case Anchor::MiddleLeft: case Anchor::Centre: case Anchor::MiddleRight:
        up = (box.ascent - box.descent) / 2;
        break;
    case Anchor::BottomLeft: case Anchor::BottomCentre: case Anchor::BottomRight:
        up = -box.descent;
        break;
    default:
        break;
    }
    switch (anchor) {
    case Anchor::TopCentre: case Anchor::Centre: case Anchor::BottomCentre: case Anchor::BaselineCentre:
        along = box.advance / 2;
        break;
    case Anchor::TopRight: case Anchor::MiddleRight: case Anchor::BottomRight: case Anchor::BaselineRight:
        along = box.advance;
        break;
    default:
        break;
    }
    const double turn = escapement / 10.0 * std::numbers::pi / 180;
    // Device y runs down; the text turns counter-clockwise as seen.
    const double c = std::cos(turn), s = std::sin(turn);
    return {baseline.originX + along * c - up * s, baseline.originY - along * s - up * c, baseline.dpi};
}

} // namespace lw
