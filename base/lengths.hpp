#pragma once
// A length as a person types it: a number, and "mm" or "pt" after it where
// the unit is not the one the field counts in. Sign makers think in
// millimetres, type setters in points; both are taken wherever a length is.
//
//   lw::parseLength("0.1mm", lw::LengthUnit::Point)  // {0.1, Millimetre}
//   lw::parseLength("1.5", lw::LengthUnit::Point)    // {1.5, Point}
//   lw::parseLength("1.5 px", lw::LengthUnit::Point) // none

#include <optional>
#include <string_view>

namespace lw {

inline constexpr double kMmPerInch = 25.4;

enum class LengthUnit { Millimetre, Point };

struct Length {
    double value = 0;
    LengthUnit unit = LengthUnit::Point;

    double millimetres() const;
    double points() const;
};

// The number with its unit (`bare` when none is written); blanks around the
// number and before the unit are allowed, the unit's case is not minded.
// None for anything else, a value that is not finite included.
std::optional<Length> parseLength(std::string_view text, LengthUnit bare);

} // namespace lw
