#pragma once
// The preview's canvas: keeps what is drawn on it since the last clear and
// paints that into a raster image on render(), with aliased one-pixel pens.
//
// Polygons drawn one after another form one shape: all of them filled white
// together by the nonzero winding rule, as a font defines its outlines, then
// every outline drawn. So a counter stays open and a stroke inside a counter
// shows, whatever order the font lists its contours in; each polygon still
// arrives as its own call, as the capture makes it.
//
//   ImageCanvas canvas({461, 301}, Qt::lightGray);
//   DeviceContext dc(canvas);            // a capture draws on it
//   QRect changed = canvas.render();     // then the image shows it

#include "platform/canvas.hpp"
#include "window/qt/raster.hpp"

#include <QColor>
#include <QImage>
#include <QRect>

#include <vector>

namespace lw {

class ImageCanvas final : public Canvas {
public:
    ImageCanvas(QSize size, QColor background);

    void clear() override;
    void polygon(std::span<const POINT> points, Rgb pen) override;
    void line(POINT from, POINT to, Rgb pen) override;

    // Paints the drawing into the image: at its own pixels, or, when `fit`
    // is on, scaled and centred so that all of it shows. Returns the part of
    // the image that changed: what the last drawing and this one cover.
    QRect render();
    void setFit(bool fit) { fit_ = fit; }
    bool fit() const { return fit_; }

    const QImage& image() const { return image_; }

private:
    // Points of points_ from `first`: a polygon, or a line's two ends.
    struct Outline {
        std::size_t first, count;
        Rgb pen;
    };
    // Outlines of outlines_ from `first`: a run of polygons drawn one after
    // another (one shape), or one line.
    struct Item {
        std::size_t first, count;
        bool line;
    };
    // The points as the image shows them: themselves, or fitted.
    const std::vector<POINT>& shownPoints();

    QImage image_;
    QColor background_;
    std::vector<POINT> points_;
    std::vector<Outline> outlines_;
    std::vector<Item> items_;
    std::vector<POINT> fitted_;
    PixelBox drawn_; // what the image shows besides the background
    bool fit_ = false;
};

} // namespace lw
