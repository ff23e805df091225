#include "window/qt/image_canvas.hpp"

#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <algorithm>

namespace lw {
namespace {

QColor toColor(Rgb c) { return QColor(c.red, c.green, c.blue); }

QPen pixelPen(Rgb c)
{
    QPen pen(toColor(c));
    pen.setWidth(0); // cosmetic: one pixel whatever the transform
    return pen;
}

// Room left around a fitted drawing, in pixels.
constexpr int kFitMargin = 8;

} // namespace

ImageCanvas::ImageCanvas(QSize size, QColor background)
    : image_(size, QImage::Format_RGB32), background_(background)
{
    image_.fill(background_);
}

void ImageCanvas::clear() { items_.clear(); }

void ImageCanvas::polygon(std::span<const POINT> points, Rgb pen)
{
    if (points.empty())
        return;
    if (items_.empty() || items_.back().shape.empty())
        items_.emplace_back();
    QPolygon polygon;
    polygon.reserve(qsizetype(points.size()));
    for (const POINT& p : points)
        polygon.append(QPoint(p.x, p.y));
    items_.back().shape.push_back({std::move(polygon), pen});
}

void ImageCanvas::line(POINT from, POINT to, Rgb pen)
{
    items_.push_back({{}, QLine(from.x, from.y, to.x, to.y), pen});
}

QRect ImageCanvas::bounds() const
{
    QRect all;
    for (const Item& item : items_) {
        if (item.shape.empty())
            all |= QRect(item.line.p1(), item.line.p2()).normalized();
        for (const Outline& outline : item.shape)
            all |= outline.points.boundingRect();
    }
    return all;
}

void ImageCanvas::render()
{
    image_.fill(background_);
    QPainter painter(&image_);
    if (fit_) {
        const QRect drawn = bounds();
        if (!drawn.isEmpty()) {
            const double room = std::min(double(image_.width() - 2 * kFitMargin) / drawn.width(),
                                         double(image_.height() - 2 * kFitMargin) / drawn.height());
            const QPointF centre = QRectF(drawn).center();
            painter.translate(image_.width() / 2.0, image_.height() / 2.0);
            painter.scale(room, room);
            painter.translate(-centre);
        }
    }
    for (const Item& item : items_) {
        if (item.shape.empty()) {
            painter.setPen(pixelPen(item.pen));
            painter.drawLine(item.line);
            continue;
        }
        QPainterPath all;
        all.setFillRule(Qt::WindingFill);
        for (const Outline& outline : item.shape)
            all.addPolygon(outline.points);
        painter.fillPath(all, Qt::white);
        painter.setBrush(Qt::NoBrush);
        for (const Outline& outline : item.shape) {
            painter.setPen(pixelPen(outline.pen));
            painter.drawPolygon(outline.points);
        }
    }
}

} // namespace lw
