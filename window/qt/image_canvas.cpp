#include "window/qt/image_canvas.hpp"

#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <utility>

namespace lw {
namespace {

std::uint32_t pixel(Rgb c) { return 0xFF000000u | std::uint32_t(c.red) << 16 | std::uint32_t(c.green) << 8 | c.blue; }

constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

PixelBox pixelBox(PreviewDrawing::Box box) { return {box.left, box.top, box.right, box.bottom}; }

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

// Paints into the image's pixels. The changed band is cleared before
// anything is drawn: by the first fill, when a shape comes first, in the
// same pass.
class RasterPainter final : public PreviewDrawing::Painter {
public:
    RasterPainter(const Pixels& pixels, PixelBox changed, std::uint32_t background, FillWorkspace& workspace)
        : pixels_(pixels), changed_(changed), background_(background), workspace_(workspace)
    {
    }
    void fill(std::span<const std::span<const POINT>> polygons) override
    {
        fillNonzero(pixels_, polygons, kWhite, workspace_, toClear(), background_);
    }
    void outline(std::span<const POINT> polygon, Rgb pen) override { drawPolygon(pixels_, polygon, pixel(pen)); }
    void line(POINT from, POINT to, Rgb pen) override
    {
        fillBox(pixels_, toClear(), background_);
        drawLine(pixels_, from, to, pixel(pen));
    }
    // The band, if nothing cleared it yet.
    void finish() { fillBox(pixels_, toClear(), background_); }

private:
    PixelBox toClear() { return std::exchange(cleared_, true) ? PixelBox{} : changed_; }

    const Pixels& pixels_;
    PixelBox changed_;
    std::uint32_t background_;
    FillWorkspace& workspace_;
    bool cleared_ = false;
};

} // namespace

ImageCanvas::ImageCanvas(QSize size, QColor background)
    : image_(size, QImage::Format_RGB32), background_(background)
{
}

void ImageCanvas::changing()
{
    // A capture draws polygon after polygon: only the first waits.
    if (std::exchange(handedOver_, false))
        painting_.wait();
    drawnSinceRender_ = true;
}

void ImageCanvas::clear()
{
    changing();
    PreviewDrawing::clear();
}

void ImageCanvas::polygon(std::span<const POINT> points, Rgb pen)
{
    changing();
    PreviewDrawing::polygon(points, pen);
}

void ImageCanvas::line(POINT from, POINT to, Rgb pen)
{
    changing();
    PreviewDrawing::line(from, to, pen);
}

void ImageCanvas::mark(POINT from, POINT to, Rgb pen)
{
    changing();
    PreviewDrawing::mark(from, to, pen);
}

std::array<PixelBox, 2> ImageCanvas::widenFilled(int top, int bottom) const
{
    top = std::max(top, 0);
    bottom = std::min(bottom, image_.height() - 1);
    if (top > bottom)
        return {};
    const int right = image_.width() - 1;
    // One span of filled rows: a gap between two bands is filled as well.
    if (filledTop_ > filledBottom_) {
        filledTop_ = top;
        filledBottom_ = bottom;
        return {PixelBox{0, top, right, bottom}, PixelBox{}};
    }
    const std::array<PixelBox, 2> blank{PixelBox{0, top, right, filledTop_ - 1},
                                        PixelBox{0, filledBottom_ + 1, right, bottom}};
    filledTop_ = std::min(top, filledTop_);
    filledBottom_ = std::max(bottom, filledBottom_);
    return blank;
}

Pixels ImageCanvas::pixels() const
{
    // bits() first: a copy of the image handed out earlier keeps its pixels.
    return {reinterpret_cast<std::uint32_t*>(image_.bits()), image_.width(), image_.height(),
            image_.bytesPerLine() / 4};
}

const QImage& ImageCanvas::image() const
{
    painting_.wait();
    for (const PixelBox& rows : widenFilled(0, image_.height() - 1))
        if (!rows.empty())
            fillBox(pixels(), rows, background_.rgb());
    return image_;
}

void ImageCanvas::drawOn(QPainter& painter, QPoint origin, QRect part) const
{
    painting_.wait();
    part &= image_.rect();
    if (part.isEmpty())
        return;
    const QRect filled = part & QRect(0, filledTop_, image_.width(), filledBottom_ - filledTop_ + 1);
    if (!filled.isEmpty())
        painter.drawImage(origin + filled.topLeft(), image_, filled);
    for (const QRect& blank : QRegion(part) - QRegion(filled))
        painter.fillRect(blank.translated(origin), background_);
}

QRect ImageCanvas::render()
{
    painting_.wait();
    if (!drawnSinceRender_ && renderedFit_ == fit_)
        return {};
    drawnSinceRender_ = false;
    renderedFit_ = fit_;
    const std::span<const POINT> points = shownPoints(fit_, image_.width(), image_.height());
    const PixelBox shown = clip(pixelBox(boundsOf(points)), image_);
    const PixelBox changed = unite(drawn_, shown);
    const std::array<PixelBox, 2> blank = changed.empty() ? std::array<PixelBox, 2>{}
                                                          : widenFilled(changed.top, changed.bottom);
    // What the painting reads stays as it is until the next call here or to
    // a drawing call, each of which waits for it first.
    painting_.start([this, points, changed, blank, pixels = pixels(), background = background_.rgb()] {
        for (const PixelBox& rows : blank)
            fillBox(pixels, rows, background);
        RasterPainter painter(pixels, changed, background, fillWork_);
        // Only what meets the image: the raster would skip the rest as well,
        // but only after a pass over each polygon's points.
        paint(points, painter, Box{0, 0, pixels.width - 1, pixels.height - 1});
        painter.finish();
    });
    handedOver_ = true;
    drawn_ = shown;
    if (changed.empty())
        return {};
    return QRect(QPoint(changed.left, changed.top), QPoint(changed.right, changed.bottom));
}

} // namespace lw
