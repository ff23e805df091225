#include "form/text_style_design.hpp"

#include <algorithm>
#include <cmath>

namespace lw {

TextStyle textStyleWithin(double spacing, double widthPercent, bool bold)
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
            .bold = bold};
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
