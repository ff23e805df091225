#pragma once
// The preview's canvas: keeps what is drawn on it since the last clear (the
// form's PreviewDrawing) and paints that into a raster image on render(),
// with aliased one-pixel pens.
//
//   ImageCanvas canvas({461, 301}, Qt::lightGray);
//   DeviceContext dc(canvas);            // a capture draws on it
//   QRect changed = canvas.render();     // then the image shows it

#include "form/preview_drawing.hpp"
#include "window/qt/raster.hpp"

#include <QColor>
#include <QImage>
#include <QRect>

namespace lw {

class ImageCanvas final : public PreviewDrawing {
public:
    ImageCanvas(QSize size, QColor background);

    // Paints the drawing into the image: at its own pixels, or, when `fit`
    // is on, scaled and centred so that all of it shows. Returns the part of
    // the image that changed: what the last drawing and this one cover.
    QRect render();
    void setFit(bool fit) { fit_ = fit; }
    bool fit() const { return fit_; }

    const QImage& image() const { return image_; }

private:
    QImage image_;
    QColor background_;
    PixelBox drawn_; // what the image shows besides the background
    bool fit_ = false;
};

} // namespace lw
