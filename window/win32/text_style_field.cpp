#include "window/win32/text_style_field.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace lw {
namespace {

std::string_view trimmed(std::string_view text)
{
    const auto space = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && space(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && space(text.back()))
        text.remove_suffix(1);
    return text;
}

double held(double value, const TextStyleFieldDesign& field)
{
    const double scale = std::pow(10.0, field.decimals);
    const double rounded = std::round(value * scale) / scale;
    // -0 would show as "-0.00".
    return std::clamp(rounded, field.minimum, field.maximum) + 0.0;
}

} // namespace

double typedFieldValue(std::string_view typed, const TextStyleFieldDesign& field, double previous)
{
    if (field.field == TextStyleField::Spacing) {
        const std::optional<double> points = typedSpacingPoints(typed);
        return points ? held(*points, field) : previous;
    }
    std::string_view text = trimmed(typed);
    const std::string_view unit = field.unit;
    if (!unit.empty() && text.size() >= unit.size() && text.substr(text.size() - unit.size()) == unit)
        text = trimmed(text.substr(0, text.size() - unit.size()));
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    // from_chars takes "inf" and "nan"; a box of digits does not.
    if (text.empty() || text.find_first_not_of("-0123456789.") != std::string_view::npos)
        return previous;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return previous;
    return held(value, field);
}

double steppedFieldValue(double value, int steps, const TextStyleFieldDesign& field)
{
    return held(value + steps * field.step, field);
}

std::string shownFieldValue(double value, const TextStyleFieldDesign& field)
{
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", field.decimals, held(value, field));
    return text;
}

} // namespace lw
