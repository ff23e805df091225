#pragma once
// The captured outline: what the last capture read back from the flattened
// path, held by the window between a capture and an export. Only the capture
// writes it; everyone else reads it, figure by figure, through figures().
//
//   for (const lw::Figure& f : lw::figures(outline))
//       draw(f.points);                // f.closed: it ends on a close point

#include "platform/gdi_types.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>
#include <vector>

namespace lw {

struct CapturedOutline {
    LOGFONT logFont{};
    // n, the number of points of the flattened path.
    std::int32_t pointCount = 0;
    // Indices 0 to n: slots 0..n-1 hold the path, slot n stays (0,0) / 0, so
    // the upper index of either array always equals pointCount.
    std::vector<POINT> pathPoints{POINT{}};
    std::vector<std::uint8_t> pathTypes{0};

    // The upper index of pathTypes, which the exports read the count back as.
    std::int32_t upperIndex() const { return static_cast<std::int32_t>(pathTypes.size()) - 1; }
    // The points of the path that both arrays hold: pointCount, never past
    // either array's end; none for a negative count.
    std::size_t heldCount() const
    {
        const std::size_t count = pointCount > 0 ? std::size_t(pointCount) : 0;
        return std::min({count, pathPoints.size(), pathTypes.size()});
    }
    std::span<const POINT> points() const { return {pathPoints.data(), heldCount()}; }
    std::span<const std::uint8_t> types() const { return {pathTypes.data(), heldCount()}; }
};

// One figure: a run of points that ends at a point whose type has the bit of
// value 1 (PT_CLOSEFIGURE), starting at point 0 or right after the figure
// before. Points after the last such point form one last figure that is not
// closed (a flattened path never has one).
struct Figure {
    std::size_t first = 0; // index of its first point in the outline
    std::span<const POINT> points;
    std::span<const std::uint8_t> types;
    bool closed = false;
};

// The figures of points [0, count) in order. Walks the type bytes only; the
// spans must hold at least `count` entries.
class FigureRange {
public:
    FigureRange(std::span<const POINT> points, std::span<const std::uint8_t> types, std::size_t count)
        : points_(points.first(count)), types_(types.first(count))
    {
    }

    class iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = Figure;
        using difference_type = std::ptrdiff_t;
        using pointer = const Figure*;
        using reference = const Figure&;

        iterator() = default;
        iterator(const FigureRange* range, std::size_t first) : range_(range) { load(first); }
        const Figure& operator*() const { return figure_; }
        const Figure* operator->() const { return &figure_; }
        iterator& operator++()
        {
            load(figure_.first + figure_.points.size());
            return *this;
        }
        iterator operator++(int)
        {
            iterator before = *this;
            ++*this;
            return before;
        }
        friend bool operator==(const iterator& a, const iterator& b) { return a.figure_.first == b.figure_.first; }

    private:
        void load(std::size_t first)
        {
            const auto& types = range_->types_;
            std::size_t end = first;
            while (end < types.size() && !(types[end] & PT_CLOSEFIGURE))
                ++end;
            bool closed = end < types.size();
            if (closed)
                ++end;
            figure_ = {first, range_->points_.subspan(first, end - first),
                       types.subspan(first, end - first), closed};
        }

        const FigureRange* range_ = nullptr;
        Figure figure_;
    };

    iterator begin() const { return iterator(this, 0); }
    iterator end() const { return iterator(this, types_.size()); }

private:
    std::span<const POINT> points_;
    std::span<const std::uint8_t> types_;
};

// The figures of the outline's points 0 to pointCount - 1. A pointCount
// beyond the arrays is the caller's to refuse first (checkPointCount).
inline FigureRange figures(const CapturedOutline& outline, std::size_t count)
{
    return FigureRange(outline.pathPoints, outline.pathTypes, count);
}
inline FigureRange figures(const CapturedOutline& outline)
{
    return figures(outline, outline.pointCount > 0 ? std::size_t(outline.pointCount) : 0);
}

// `count` points when both arrays hold them, else the subscript-out-of-range
// failure; a negative count reads as none.
std::size_t checkPointCount(const CapturedOutline& outline, std::int32_t count);

} // namespace lw
