#include "window/qt/image_canvas.hpp"

#include "form/fit_view.hpp"

#include <algorithm>
#include <limits>
#include <utility>

namespace lw {
namespace {

std::uint32_t pixel(Rgb c) { return 0xFF000000u | std::uint32_t(c.red) << 16 | std::uint32_t(c.green) << 8 | c.blue; }

constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

PixelBox boundsOf(std::span<const POINT> points)
{
    if (points.empty())
        return {};
    PixelBox box{std::numeric_limits<int>::max(), std::numeric_limits<int>::max(), std::numeric_limits<int>::min(),
                 std::numeric_limits<int>::min()};
    for (const POINT& p : points) {
        box.left = std::min(box.left, int(p.x));
        box.right = std::max(box.right, int(p.x));
        box.top = std::min(box.top, int(p.y));
        box.bottom = std::max(box.bottom, int(p.y));
    }
    return box;
}

PixelBox unite(PixelBox a, PixelBox b)
{
    if (a.empty())
        return b;
    if (b.empty())
        return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

PixelBox clip(PixelBox box, const QImage& image)
{
    return {std::max(box.left, 0), std::max(box.top, 0), std::min(box.right, image.width() - 1),
            std::min(box.bottom, image.height() - 1)};
}

} // namespace

ImageCanvas::ImageCanvas(QSize size, QColor background)
    : image_(size, QImage::Format_RGB32), background_(background)
{
    image_.fill(background_);
}

void ImageCanvas::clear()
{
    points_.clear();
    outlines_.clear();
    items_.clear();
}

void ImageCanvas::polygon(std::span<const POINT> points, Rgb pen)
{
    if (points.empty())
        return;
    if (items_.empty() || items_.back().line)
        items_.push_back({outlines_.size(), 0, false});
    outlines_.push_back({points_.size(), points.size(), pen});
    ++items_.back().count;
    points_.insert(points_.end(), points.begin(), points.end());
}

void ImageCanvas::line(POINT from, POINT to, Rgb pen)
{
    items_.push_back({outlines_.size(), 1, true});
    outlines_.push_back({points_.size(), 2, pen});
    points_.push_back(from);
    points_.push_back(to);
}

const std::vector<POINT>& ImageCanvas::shownPoints()
{
    if (!fit_)
        return points_;
    const FitTransform fit = fitToArea(points_, image_.width(), image_.height());
    fitted_.resize(points_.size());
    std::transform(points_.begin(), points_.end(), fitted_.begin(), fit);
    return fitted_;
}

QRect ImageCanvas::render()
{
    const std::vector<POINT>& points = shownPoints();
    const PixelBox shown = clip(boundsOf(points), image_);
    const PixelBox changed = unite(drawn_, shown);
    const Pixels pixels{reinterpret_cast<std::uint32_t*>(image_.bits()), image_.width(), image_.height(),
                        image_.bytesPerLine() / 4};
    // The changed part is cleared before anything is drawn: by the first
    // fill, when a shape comes first, in the same pass.
    bool cleared = false;
    const auto toClear = [&] { return std::exchange(cleared, true) ? PixelBox{} : changed; };

    std::vector<std::span<const POINT>> shape;
    for (const Item& item : items_) {
        const auto pointsOf = [&](const Outline& o) { return std::span<const POINT>(points).subspan(o.first, o.count); };
        const auto outlines = std::span<const Outline>(outlines_).subspan(item.first, item.count);
        if (item.line) {
            fillBox(pixels, toClear(), background_.rgb());
            const auto ends = pointsOf(outlines[0]);
            drawLine(pixels, ends[0], ends[1], pixel(outlines[0].pen));
            continue;
        }
        shape.clear();
        for (const Outline& o : outlines)
            shape.push_back(pointsOf(o));
        fillNonzero(pixels, shape, kWhite, toClear(), background_.rgb());
        for (const Outline& o : outlines)
            drawPolygon(pixels, pointsOf(o), pixel(o.pen));
    }
    fillBox(pixels, toClear(), background_.rgb());
    drawn_ = shown;
    if (changed.empty())
        return {};
    return QRect(QPoint(changed.left, changed.top), QPoint(changed.right, changed.bottom));
}

} // namespace lw
