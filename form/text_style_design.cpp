#include "form/text_style_design.hpp"

#include "base/lengths.hpp"

#include <algorithm>
#include <cmath>

namespace lw {

std::optional<double> typedSpacingPoints(std::string_view text)
{
    // A box of digits: parseLength alone would take "1e3" and "inf".
    const std::size_t number = text.find_first_not_of(" \t+-0123456789.");
    if (number != std::string_view::npos) {
        const std::string_view unit = text.substr(number);
        if (unit.find_first_not_of(" \tmMpPtT") != std::string_view::npos)
            return std::nullopt;
    }
    const std::optional<Length> length = parseLength(text, LengthUnit::Point);
    if (!length)
        return std::nullopt;
    return length->points();
}

TextStyle textStyleWithin(double spacing, double widthPercent, bool bold, bool kerning)
{
    const TextStyleFieldDesign& s = kTextStyleFields[0];
    const TextStyleFieldDesign& w = kTextStyleFields[1];
    // Not a number is no spacing and the designed width.
    if (!std::isfinite(spacing))
        spacing = 0;
    if (!std::isfinite(widthPercent))
        widthPercent = 100;
    return {.spacing = std::clamp(spacing, s.minimum, s.maximum),
            .widthPercent = static_cast<std::int32_t>(std::lround(std::clamp(widthPercent, w.minimum, w.maximum))),
            .bold = bold,
            .shaping = {.kerning = kerning}};
}

ArcStyle arcStyleWithin(double radiusMm, double atDegrees)
{
    const TextStyleFieldDesign& r = kTextStyleFields[3];
    const TextStyleFieldDesign& a = kTextStyleFields[4];
    if (!std::isfinite(radiusMm) || radiusMm == 0)
        return {};
    if (!std::isfinite(atDegrees))
        atDegrees = defaultArcDegrees(radiusMm);
    ArcStyle arc;
    arc.radiusMm = std::clamp(radiusMm, r.minimum, r.maximum);
    arc.atDegrees = std::clamp(atDegrees, a.minimum, a.maximum);
    return arc;
}

double arcAngleShown(const ArcStyle& arc) { return arc.atDegrees.value_or(defaultArcDegrees(arc.radiusMm)); }

} // namespace lw
