#include "window/qt/image_canvas.hpp"

#include <QPainter>
#include <QPen>

namespace lw {
namespace {

QColor toColor(Rgb c) { return QColor(c.red, c.green, c.blue); }

QPen pixelPen(Rgb c)
{
    QPen pen(toColor(c));
    pen.setWidth(0); // cosmetic: one pixel whatever the transform
    return pen;
}

} // namespace

ImageCanvas::ImageCanvas(QSize size, QColor background)
    : image_(size, QImage::Format_RGB32), background_(background)
{
    image_.fill(background_);
}

void ImageCanvas::clear() { image_.fill(background_); }

void ImageCanvas::polygon(std::span<const POINT> points, Rgb pen)
{
    if (points.empty())
        return;
    scratch_.clear();
    for (const POINT& p : points)
        scratch_.emplace_back(p.x, p.y);
    QPainter painter(&image_);
    painter.setPen(pixelPen(pen));
    painter.setBrush(Qt::white);
    painter.drawPolygon(scratch_.data(), static_cast<int>(scratch_.size()), Qt::OddEvenFill);
}

void ImageCanvas::line(POINT from, POINT to, Rgb pen)
{
    QPainter painter(&image_);
    painter.setPen(pixelPen(pen));
    painter.drawLine(QPoint(from.x, from.y), QPoint(to.x, to.y));
}

} // namespace lw
