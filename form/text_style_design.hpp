#pragma once
// The text style dialog as data, for both views: its title, the fields in
// order with their captions, units and ranges, and the note shown while the
// font dialog's bold does not reach the outline. Captions are the design's
// Japanese; captions.cpp holds their English.

#include "outline/option_limits.hpp"
#include "outline/text_style.hpp"

#include <optional>
#include <string_view>

namespace lw {

inline constexpr const char* kTextStyleTitle = "文字スタイル";

enum class TextStyleField { Spacing, Width, Bold, ArcRadius, ArcAngle, Oblique, Fit, FitByWidth, Kerning };

struct TextStyleFieldDesign {
    TextStyleField field;
    const char* name;    // the control's object name
    const char* caption;
    const char* unit;    // shown after the box (UTF-8); "" for a check box
    double minimum, maximum, step;
    int decimals;
};

inline constexpr TextStyleFieldDesign kTextStyleFields[] = {
    {TextStyleField::Spacing, "spnSpacing", "字間", "pt", optionLimit(LimitedOption::Spacing).lowest,
     optionLimit(LimitedOption::Spacing).highest, 0.25, 2},
    {TextStyleField::Width, "spnWidth", "幅", "%", TextStyle::kNarrowest, TextStyle::kWidest, 5, 0},
    {TextStyleField::Bold, "chkBold", "太字", "", 0, 1, 1, 0},
    // 0 is a straight line; negative sets the text inside the circle.
    {TextStyleField::ArcRadius, "spnArcRadius", "円弧の半径", "mm", optionLimit(LimitedOption::ArcRadius).lowest,
     optionLimit(LimitedOption::ArcRadius).highest, 1, 1},
    {TextStyleField::ArcAngle, "spnArcAngle", "円弧の角度", "°", -360, 360, 5, 1},
    {TextStyleField::Oblique, "spnOblique", "傾斜", "°", -TextStyle::kSteepest, TextStyle::kSteepest, 1, 1},
    // 0 fits nothing: the spacing above stands.
    {TextStyleField::Fit, "spnFit", "均等割付", "mm", 0, TextStyle::kLongestFitMm, 1, 2},
    {TextStyleField::FitByWidth, "chkFitByWidth", "幅で合わせる", "", 0, 1, 1, 0},
    {TextStyleField::Kerning, "chkKerning", "カーニング", "", 0, 1, 1, 0},
};

// A field's value in a style, a check box's as 0 or 1.
double fieldValue(const TextStyle& style, TextStyleField field);
// The style with one field set from a value as fieldValue gives it.
void setFieldValue(TextStyle& style, TextStyleField field, double value);

// The note under the fields: the font dialog's bold shows in the text box
// only; the outline takes it through the style's bold.
inline constexpr const char* kBoldIgnoredNote = "フォントの太字はアウトラインには使われません";

constexpr const char* boldNote(bool fontBold, bool styleBold)
{
    return fontBold && !styleBold ? kBoldIgnoredNote : nullptr;
}

// The spacing box takes millimetres too, as sign makers measure: its tip.
inline constexpr const char* kSpacingTip = "pt で、または mm を付けて (0.5mm) 入力します";

// A spacing as typed in the dialog: points ("1.5", "1.5 pt") or millimetres
// ("0.5mm"), blanks around allowed, in points; none for text that is no
// such number (an exponent, "inf" and "nan" included). Not held within the
// field's range.
std::optional<double> typedSpacingPoints(std::string_view text);

// A style from the dialog's fields, each held within its field's range (a
// view's spin box already does; a value from elsewhere may not). Kerning is
// the font's pair kerning, off unless checked; the features stay as given.
TextStyle textStyleWithin(double spacing, double widthPercent, bool bold, bool kerning = false);
TextStyle textStyleWithin(const TextStyle& style);

// The arc from the dialog's fields, each held within its range: a radius
// of 0 (or not a number) is no arc; the angle is where the text's middle
// stands.
ArcStyle arcStyleWithin(double radiusMm, double atDegrees);

// The angle the dialog shows for `arc`: its own, or where it would stand.
double arcAngleShown(const ArcStyle& arc);

} // namespace lw
