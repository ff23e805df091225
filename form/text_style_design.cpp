#include "form/text_style_design.hpp"

#include <algorithm>
#include <cmath>

namespace lw {

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

} // namespace lw
