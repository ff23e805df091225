#pragma once
// The numbers the size and angle boxes and their sliders pass between them.

#include <optional>
#include <string>
#include <string_view>

namespace lw {

// The value a slider takes from a text box: the text's leading number,
// rounded half to even and held within [minimum, maximum]. A number too big
// for any integer (1E20, 1E400) is just beyond the range, not a failure.
int sliderPositionFromText(std::string_view text, int minimum, int maximum);

// The size as the size box shows it: up to seven significant digits, no
// trailing zeros ("24", "9.75", "1E+10").
std::string sizeText(float size);

// The millimetres of a size typed with that unit ("10mm", "3.5 MM"), above
// 0; nothing for points, with or without "pt", or for no number at all.
std::optional<double> sizeMillimetres(std::string_view text);

// A size in millimetres as the size box shows it, its unit after it ("10mm").
std::string sizeMillimetresText(double mm);

} // namespace lw
