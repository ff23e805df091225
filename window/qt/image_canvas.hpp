#pragma once
// The preview's canvas: keeps what is drawn on it since the last clear (the
// form's PreviewDrawing) and paints that into a raster image on render(),
// with aliased one-pixel pens. The painting runs on a thread of the
// canvas's own, so a keystroke's fill overlaps Qt's paint of the text box;
// every other call waits for it, so callers never see it half done.
//
//   ImageCanvas canvas({461, 301}, Qt::lightGray);
//   DeviceContext dc(canvas);            // a capture draws on it
//   QRect changed = canvas.render();     // then the image shows it

#include "form/preview_drawing.hpp"
#include "window/qt/background_job.hpp"
#include "window/qt/raster.hpp"

#include <QColor>
#include <QImage>
#include <QRect>

#include <array>
#include <exception>

class QPainter;

namespace lw {

class ImageCanvas final : public PreviewDrawing {
public:
    ImageCanvas(QSize size, QColor background);

    void clear() override;
    void polygon(std::span<const POINT> points, Rgb pen) override;
    void line(POINT from, POINT to, Rgb pen) override;
    void mark(POINT from, POINT to, Rgb pen) override;

    // Paints the drawing into the image: at its own pixels, or, when `fit`
    // is on, scaled and centred so that all of it shows. Returns at once the
    // part of the image that changes: what the last drawing and this one
    // cover. Nothing drawn since and the same view: nothing changed.
    QRect render();
    // What a painting failed with (out of memory), once.
    std::exception_ptr takeFailure() { return painting_.takeFailure(); }
    void setFit(bool fit) { fit_ = fit; }
    bool fit() const { return fit_; }

    // The whole image. Rows no drawing has reached yet are filled first.
    const QImage& image() const;
    QSize size() const { return image_.size(); }
    // Shows `part` of the image (its own coordinates) with the image's
    // top-left at `origin`: what image() holds there, pixel for pixel.
    void drawOn(QPainter& painter, QPoint origin, QRect part) const;

private:
    // Before the drawing changes: the painting reads it until it is done.
    void changing();
    // Takes rows top..bottom into the span of filled rows and returns those
    // that were outside it: the background is still to be written there.
    std::array<PixelBox, 2> widenFilled(int top, int bottom) const;
    Pixels pixels() const;

    // Rows outside [filledTop_, filledBottom_] are background by definition
    // and never written: a page of the image is first touched when a drawing
    // reaches it, which at start-up spares more than half the image.
    mutable QImage image_;
    mutable int filledTop_ = 0, filledBottom_ = -1;
    QColor background_;
    PixelBox drawn_; // what the image shows besides the background
    bool fit_ = false;
    // Whether the image may differ from what render() would paint now.
    bool drawnSinceRender_ = true;
    bool renderedFit_ = false;
    // A painting was handed over since changing() last waited for one.
    bool handedOver_ = false;
    // The painting's own: only the painting touches it.
    FillWorkspace fillWork_;
    // Last, so that it ends, and the painting with it, before what that
    // painting reads and writes.
    mutable BackgroundJob painting_;
};

} // namespace lw
