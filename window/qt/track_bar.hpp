#pragma once
// A horizontal slider that pages on a click anywhere on its strip, as a
// Windows trackbar does: also below the groove among the tick marks, not
// only on the thin groove line that Qt's styles make the only target.

#include <QSlider>

namespace lw {

class TrackBar final : public QSlider {
    Q_OBJECT
public:
    explicit TrackBar(QWidget* parent = nullptr) : QSlider(Qt::Horizontal, parent) {}

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

} // namespace lw
