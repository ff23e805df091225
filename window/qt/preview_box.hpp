#pragma once
// picSmpl: the preview picture box. A sunken two-pixel frame around a
// drawing area whose device context draws into an image. The view shows the
// drawing at its own pixels (the design) or fitted into the area; the
// drawing itself, and so every capture, stays the same.

#include "platform/device_context.hpp"
#include "window/qt/image_canvas.hpp"

#include <QFrame>

#include <exception>
#include <functional>
#include <optional>
#include <utility>

namespace lw {

class PreviewBox final : public QFrame {
    Q_OBJECT
public:
    // `outside` is the size with the frame; the drawing area is 4 px smaller.
    PreviewBox(QSize outside, QWidget* parent = nullptr);

    DeviceContext& deviceContext() { return dc_; }
    // Shows what was drawn since the last clear: the image at once, the
    // screen on the next paint.
    void present();
    void setFitView(bool fit);
    // Told, after the paint that found it, what drawing the image failed
    // with: the drawing runs on the canvas's thread, outside the event
    // that asked for it.
    void onFailure(std::function<void(std::exception_ptr)> report) { reportFailure_ = std::move(report); }
    bool fitView() const { return canvas_.fit(); }
    // The part of the drawing the image shows, at its own pixels; none when
    // fitted, where all of it shows.
    std::optional<DeviceArea> shownArea() const
    {
        if (canvas_.fit())
            return std::nullopt;
        return DeviceArea{0, 0, canvas_.size().width() - 1, canvas_.size().height() - 1};
    }
    const QImage& image() const { return canvas_.image(); }
    // The drawing area in pixels: what a capture centres on.
    float scaleWidth() const { return static_cast<float>(canvas_.size().width()); }
    float scaleHeight() const { return static_cast<float>(canvas_.size().height()); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ImageCanvas canvas_;
    DeviceContext dc_;
    std::function<void(std::exception_ptr)> reportFailure_;
};

} // namespace lw
