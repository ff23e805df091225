#pragma once
// Open lines for a pen, a plotter or an engraver: each polyline drawn once,
// never closed, in millimetres at 1:1 with y up, and the width of the pen
// that draws them. Stroke fonts give them; every writer of single-line
// output takes them, whatever made them.
//
//   OpenLines l{.lines = {{{0, 0}, {0, 9}}}, .penMm = 0.1}; // one stroke 9 mm up

#include "outline/precision.hpp"

#include <vector>

namespace lw {

inline constexpr double kDefaultPenMm = 0.1;

struct OpenLines {
    std::vector<std::vector<MmPoint>> lines; // each at least two points, none repeating the one before
    double penMm = kDefaultPenMm;
};

} // namespace lw
