#include "form/box_values.hpp"

#include "base/numbers.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace lw {

int sliderPositionFromText(std::string_view text, int minimum, int maximum)
{
    double value = roundHalfEven(leadingNumberValue(text));
    if (std::isnan(value))
        value = 0;
    // Clamped while still a double, so a value past any integer is only
    // beyond the range.
    value = std::clamp(value, double(minimum), double(maximum));
    return roundToInt32(value, "slider position");
}

std::string sizeText(float size)
{
    char buffer[32];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, size,
                                   std::chars_format::general, 7);
    (void)ec; // 32 bytes hold any float
    std::string text(buffer, end);
    std::replace(text.begin(), text.end(), 'e', 'E');
    return text;
}

std::optional<double> sizeMillimetres(std::string_view text)
{
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (text.size() < 3)
        return std::nullopt;
    const std::string_view unit = text.substr(text.size() - 2);
    if ((unit[0] != 'm' && unit[0] != 'M') || (unit[1] != 'm' && unit[1] != 'M'))
        return std::nullopt;
    const double value = leadingNumberValue(text.substr(0, text.size() - 2));
    if (!std::isfinite(value) || value <= 0)
        return std::nullopt;
    return value;
}

std::string sizeMillimetresText(double mm) { return sizeText(static_cast<float>(mm)) + "mm"; }

} // namespace lw
