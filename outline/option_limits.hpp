#pragma once
// The limits and units of the values a person gives that both the command
// line's options and the window's boxes take: one table, so the two never
// refuse different values, and one conversion of millimetres to the
// capture's pixels.
//
//   const OptionLimit& offset = optionLimit(LimitedOption::Offset);
//   offset.holds(150)        // false: -100 to 100 mm
//   pixelsOfMm(0.1, 2540)    // 10: an offset on the 0.01 mm grid

#include "base/lengths.hpp"

#include <cstddef>

namespace lw {

enum class LimitedOption { Spacing, Offset, ArcRadius };

struct OptionLimit {
    LimitedOption option;
    const char* unit; // as the command line's messages name it
    double lowest, highest;

    constexpr bool holds(double value) const { return value >= lowest && value <= highest; }
};

inline constexpr OptionLimit kOptionLimits[] = {
    // Points, like the size. The wider of the two ranges the command line
    // and the window once had: every list and script that ran still runs,
    // and every spacing the window stored still reads back.
    {LimitedOption::Spacing, "points", -1000, 1000},
    // A cutter's width is millimetres; beyond this an offset is a typing error.
    {LimitedOption::Offset, "mm", -100, 100},
    // Ten metres: larger than any plate, and far inside the device's 32 bits
    // at the finest grid. 0 is no arc; negative sets the text inside.
    {LimitedOption::ArcRadius, "mm", -10000, 10000},
};

constexpr const OptionLimit& optionLimit(LimitedOption option)
{
    return kOptionLimits[static_cast<std::size_t>(option)];
}

// Millimetres at 1:1 in the pixels of a capture at `dpi`, multiplied before
// divided, as every drawing has taken its offset.
constexpr double pixelsOfMm(double mm, double dpi) { return mm * dpi / kMmPerInch; }

} // namespace lw
