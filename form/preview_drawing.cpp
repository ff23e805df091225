#include "form/preview_drawing.hpp"

#include "form/fit_view.hpp"

#include <algorithm>

namespace lw {

void PreviewDrawing::clear()
{
    points_.clear();
    outlines_.clear();
    items_.clear();
}

void PreviewDrawing::polygon(std::span<const POINT> points, Rgb pen)
{
    if (points.empty())
        return;
    if (items_.empty() || items_.back().line)
        items_.push_back({outlines_.size(), 0, false});
    outlines_.push_back({points_.size(), points.size(), pen});
    ++items_.back().count;
    points_.insert(points_.end(), points.begin(), points.end());
}

void PreviewDrawing::line(POINT from, POINT to, Rgb pen)
{
    items_.push_back({outlines_.size(), 1, true});
    outlines_.push_back({points_.size(), 2, pen});
    points_.push_back(from);
    points_.push_back(to);
}

void PreviewDrawing::mark(POINT from, POINT to, Rgb pen)
{
    line(from, to, pen);
    items_.back().fixed = true;
}

std::span<const POINT> PreviewDrawing::shownPoints(bool fit, int width, int height)
{
    if (!fit || points_.empty())
        return points_;
    std::vector<POINT> drawn;
    drawn.reserve(points_.size());
    for (const Item& item : items_)
        if (!item.fixed)
            for (std::size_t k = item.first; k < item.first + item.count; ++k)
                drawn.insert(drawn.end(), points_.begin() + std::ptrdiff_t(outlines_[k].first),
                             points_.begin() + std::ptrdiff_t(outlines_[k].first + outlines_[k].count));
    const FitTransform place = fitToArea(drawn, width, height);
    fitted_.resize(points_.size());
    std::transform(points_.begin(), points_.end(), fitted_.begin(), place);
    for (const Item& item : items_)
        if (item.fixed) {
            const Outline& o = outlines_[item.first];
            std::copy_n(points_.begin() + std::ptrdiff_t(o.first), o.count, fitted_.begin() + std::ptrdiff_t(o.first));
        }
    return fitted_;
}

void PreviewDrawing::paint(std::span<const POINT> shown, Painter& painter) const
{
    std::vector<std::span<const POINT>> shape;
    for (const Item& item : items_) {
        const auto outlines = std::span<const Outline>(outlines_).subspan(item.first, item.count);
        const auto pointsOf = [&](const Outline& o) { return shown.subspan(o.first, o.count); };
        if (item.line) {
            const auto ends = pointsOf(outlines[0]);
            painter.line(ends[0], ends[1], outlines[0].pen);
            continue;
        }
        shape.clear();
        for (const Outline& o : outlines)
            shape.push_back(pointsOf(o));
        painter.fill(shape);
        for (const Outline& o : outlines)
            painter.outline(pointsOf(o), o.pen);
    }
}

} // namespace lw
