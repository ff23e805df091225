#include "window/qt/track_bar.hpp"

#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>

namespace lw {

void TrackBar::mousePressEvent(QMouseEvent* event)
{
    QStyleOptionSlider options;
    initStyleOption(&options);
    const QRect groove = style()->subControlRect(QStyle::CC_Slider, &options, QStyle::SC_SliderGroove, this);
    const QPoint at = event->position().toPoint();
    if (groove.isEmpty() || (at.y() >= groove.top() && at.y() <= groove.bottom()))
        return QSlider::mousePressEvent(event);
    // The same press at the groove's height: Qt then pages towards it, or
    // takes the handle where the handle stands.
    const QPointF onGroove(event->position().x(), groove.center().y());
    QMouseEvent moved(event->type(), onGroove, event->scenePosition() + (onGroove - event->position()),
                      event->globalPosition() + (onGroove - event->position()), event->button(), event->buttons(),
                      event->modifiers(), event->pointingDevice());
    QSlider::mousePressEvent(&moved);
    event->setAccepted(moved.isAccepted());
}

} // namespace lw
