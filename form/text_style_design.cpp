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

TextStyle textStyleWithin(const TextStyle& style)
{
    TextStyle within = textStyleWithin(style.spacing, style.widthPercent, style.bold);
    for (const TextStyleFieldDesign& f : kTextStyleFields) {
        if (f.field != TextStyleField::Oblique && f.field != TextStyleField::Fit)
            continue;
        const double value = fieldValue(style, f.field);
        setFieldValue(within, f.field, std::isfinite(value) ? std::clamp(value, f.minimum, f.maximum) : 0);
    }
    within.fitBy = style.fitBy;
    within.shaping = style.shaping;
    within.arc = style.arc.isArc() ? arcStyleWithin(style.arc.radiusMm, arcAngleShown(style.arc)) : ArcStyle{};
    return within;
}

double fieldValue(const TextStyle& style, TextStyleField field)
{
    switch (field) {
    case TextStyleField::Spacing: return style.spacing;
    case TextStyleField::Width: return style.widthPercent;
    case TextStyleField::Bold: return style.bold ? 1 : 0;
    case TextStyleField::ArcRadius: return style.arc.radiusMm;
    case TextStyleField::ArcAngle: return arcAngleShown(style.arc);
    case TextStyleField::Oblique: return style.oblique;
    case TextStyleField::Fit: return style.fitMm;
    case TextStyleField::FitByWidth: return style.fitBy == TextStyle::FitBy::Width ? 1 : 0;
    case TextStyleField::Kerning: return style.shaping.kerning ? 1 : 0;
    }
    return 0;
}

void setFieldValue(TextStyle& style, TextStyleField field, double value)
{
    switch (field) {
    case TextStyleField::Spacing: style.spacing = value; break;
    case TextStyleField::Width: style.widthPercent = static_cast<std::int32_t>(std::lround(value)); break;
    case TextStyleField::Bold: style.bold = value != 0; break;
    case TextStyleField::ArcRadius: style.arc = arcStyleWithin(value, arcAngleShown(style.arc)); break;
    case TextStyleField::ArcAngle:
        if (style.arc.isArc())
            style.arc.atDegrees = value;
        break;
    case TextStyleField::Oblique: style.oblique = value; break;
    case TextStyleField::Fit: style.fitMm = value; break;
    case TextStyleField::FitByWidth:
        style.fitBy = value != 0 ? TextStyle::FitBy::Width : TextStyle::FitBy::Spacing;
        break;
    case TextStyleField::Kerning: style.shaping.kerning = value != 0; break;
    }
}

} // namespace lw
