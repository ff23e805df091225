#pragma once
// The preview's canvas: a raster image drawn the way the graphics interface
// draws, aliased one-pixel pens, polygons filled white with alternate fill.

#include "platform/canvas.hpp"

#include <QColor>
#include <QImage>
#include <QPoint>

#include <vector>

namespace lw {

class ImageCanvas final : public Canvas {
public:
    ImageCanvas(QSize size, QColor background);

    void clear() override;
    void polygon(std::span<const POINT> points, Rgb pen) override;
    void line(POINT from, POINT to, Rgb pen) override;

    const QImage& image() const { return image_; }

private:
    QImage image_;
    QColor background_;
    std::vector<QPoint> scratch_; // kept between polygons to spare allocations
};

} // namespace lw
