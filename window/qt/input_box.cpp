#include "window/qt/input_box.hpp"

#include "form/one_line.hpp"

#include <QFocusEvent>
#include <QValidator>

#include <algorithm>

namespace lw {
namespace {

// Every way text comes in (keys, the menu's paste, a drop, the X selection)
// passes here. The cursor stands after what came in; the text before it held
// one line already, so its first line end is where the inserted text's first
// line ends. The text after the cursor is the box's own and stays.
class FirstLineOnly final : public QValidator {
    // What pastedLine may drop, change or end at (controls, line ends); a
    // surrogate, whose UTF-8 round trip may change it, takes the long way.
    static bool mayChange(QChar c)
    {
        const char16_t u = c.unicode();
        return u < 0x20 || (u >= 0x7F && u <= 0x9F) || u == 0x2028 || u == 0x2029 || c.isSurrogate();
    }

public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override
    {
        // Every keystroke passes here with the whole text: a text that is
        // one line of drawable characters needs no copies.
        if (std::none_of(input.cbegin(), input.cend(), mayChange))
            return Acceptable;
        const QString before = QString::fromUtf8(pastedLine(input.left(position).toUtf8().toStdString()));
        const QString after = QString::fromUtf8(pastedLine(input.mid(position).toUtf8().toStdString()));
        if (before + after != input) {
            input = before + after;
            position = int(before.size());
        }
        return Acceptable;
    }
};

} // namespace

InputBox::InputBox(QWidget* parent) : QLineEdit(parent) { setValidator(new FirstLineOnly(this)); }

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
