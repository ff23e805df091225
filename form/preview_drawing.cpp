#include "form/preview_drawing.hpp"

#include "form/fit_view.hpp"

#include <algorithm>

namespace lw {
namespace {

void grow(PreviewDrawing::Box& box, std::span<const POINT> points)
{
    // In locals: the box could alias the points, and would be written back
    // on every step.
    std::int32_t left = box.left, top = box.top, right = box.right, bottom = box.bottom;
    for (const POINT& p : points) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    box = {left, top, right, bottom};
}

PreviewDrawing::Box startingAt(POINT p) { return {p.x, p.y, p.x, p.y}; }

PreviewDrawing::Box unite(PreviewDrawing::Box a, const PreviewDrawing::Box& b)
{
    if (a.empty())
        return b;
    if (!b.empty()) {
        a.left = std::min(a.left, b.left);
        a.top = std::min(a.top, b.top);
        a.right = std::max(a.right, b.right);
        a.bottom = std::max(a.bottom, b.bottom);
    }
    return a;
}

} // namespace

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
        items_.push_back({outlines_.size(), 0, false, false, startingAt(points[0])});
    Box box = startingAt(points[0]);
    grow(box, points);
    outlines_.push_back({points_.size(), points.size(), pen, box});
    ++items_.back().count;
    items_.back().box = unite(items_.back().box, box);
    points_.insert(points_.end(), points.begin(), points.end());
}

void PreviewDrawing::line(POINT from, POINT to, Rgb pen)
{
    Box box = startingAt(from);
    grow(box, std::span<const POINT>(&to, 1));
    items_.push_back({outlines_.size(), 1, true, false, box});
    outlines_.push_back({points_.size(), 2, pen, box});
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

PreviewDrawing::Box PreviewDrawing::boundsOf(std::span<const POINT> shown) const
{
    Box box;
    if (shown.data() == points_.data() && shown.size() == points_.size()) {
        for (const Item& item : items_)
            box = unite(box, item.box);
    } else if (!shown.empty()) {
        box = startingAt(shown[0]);
        grow(box, shown);
    }
    return box;
}

void PreviewDrawing::paint(std::span<const POINT> shown, Painter& painter, std::optional<Box> within) const
{
    // Fitted points have other boxes; a fitted drawing shows whole anyway.
    if (shown.data() != points_.data() || shown.size() != points_.size())
        within.reset();
    std::vector<std::span<const POINT>> shape;
    shape.reserve(outlines_.size()); // once, not as each larger shape comes
    for (const Item& item : items_) {
        if (within && !item.box.meets(*within))
            continue;
        const auto outlines = std::span<const Outline>(outlines_).subspan(item.first, item.count);
        const auto pointsOf = [&](const Outline& o) { return shown.subspan(o.first, o.count); };
        if (item.line) {
            const auto ends = pointsOf(outlines[0]);
            painter.line(ends[0], ends[1], outlines[0].pen);
            continue;
        }
        const auto shows = [&](const Outline& o) { return !within || o.box.meets(*within); };
        shape.clear();
        for (const Outline& o : outlines)
            if (shows(o))
                shape.push_back(pointsOf(o));
        painter.fill(shape);
        for (const Outline& o : outlines)
            if (shows(o))
                painter.outline(pointsOf(o), o.pen);
    }
}

} // namespace lw
