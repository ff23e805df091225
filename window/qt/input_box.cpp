#include "window/qt/input_box.hpp"

#include <QFocusEvent>

namespace lw {

void InputBox::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    const bool returning = awayWithWindow_
                           && (event->reason() == Qt::ActiveWindowFocusReason
                               || event->reason() == Qt::PopupFocusReason);
    awayWithWindow_ = false;
    if (!returning)
        emit gotFocus();
}

void InputBox::focusOutEvent(QFocusEvent* event)
{
    // Switching to another window or opening a popup keeps the box the
    // window's focus; coming back is no new focus.
    awayWithWindow_ = event->reason() == Qt::ActiveWindowFocusReason
                      || event->reason() == Qt::PopupFocusReason;
    QLineEdit::focusOutEvent(event);
}

} // namespace lw
