#pragma once
// Open lines for a pen, a plotter or an engraver: each polyline drawn once,
// never closed, in millimetres at 1:1 with y up, and the width of the pen
// that draws them. Stroke fonts give them; every writer of single-line
// output takes them, whatever made them. The points lie one line after
// another in one array, as a capture's do, so a line of text costs no
// allocation per stroke.
//
//   OpenLines l;
//   l.points = {{0, 0}, {0, 9}};
//   l.ends = {2}; // one stroke 9 mm up
//   for (std::size_t i = 0; i < l.count(); ++i)
//       draw(l.line(i));

#include "outline/precision.hpp"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace lw {

inline constexpr double kDefaultPenMm = 0.1;

struct MmBox {
    MmPoint min, max;
};

struct OpenLines {
    // Each line at least two points, none repeating the one before.
    std::vector<MmPoint> points;
    std::vector<std::size_t> ends; // one past each line's last point, ascending
    double penMm = kDefaultPenMm;
    // Empty, or one a point: the width of the stroke the line runs along
    // there (a centreline's).
    std::vector<double> widthsMm;

    std::size_t count() const { return ends.size(); }
    std::span<const MmPoint> line(std::size_t i) const
    {
        const std::size_t first = i == 0 ? 0 : ends[i - 1];
        return std::span<const MmPoint>(points).subspan(first, ends[i] - first);
    }
    // The lines' own extents, the pen aside; none for no lines.
    std::optional<MmBox> box() const
    {
        if (points.empty())
            return std::nullopt;
        MmBox b{points.front(), points.front()};
        for (const MmPoint& p : points) {
            b.min = {std::min(b.min.x, p.x), std::min(b.min.y, p.y)};
            b.max = {std::max(b.max.x, p.x), std::max(b.max.y, p.y)};
        }
        return b;
    }
};

} // namespace lw
