#pragma once
// A spin box's rules for the text style dialog's number fields, without the
// controls: what a typed value becomes, and how the value is shown.

#include "form/text_style_design.hpp"

#include <string>
#include <string_view>

namespace lw {

// `typed` as the field's value: an optional "+"/"-", a decimal number and
// optionally the field's unit (the spacing: "pt", or "mm" in millimetres),
// spaces around allowed; held within the field's range and rounded to its
// decimals. Text that is no number gives `previous`.
double typedFieldValue(std::string_view typed, const TextStyleFieldDesign& field, double previous);

// `value` one step up (steps > 0) or down, held within the range.
double steppedFieldValue(double value, int steps, const TextStyleFieldDesign& field);

// `value` with the field's decimals, as the box shows it ("1.25", "100").
std::string shownFieldValue(double value, const TextStyleFieldDesign& field);

} // namespace lw
