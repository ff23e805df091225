#pragma once
// A one-line text box that reports gaining the focus after its own focus
// handling is done, so a selection made by the handler is not undone, and
// keeps only the first line of what is pasted or dropped into it.

#include <QLineEdit>

namespace lw {

class InputBox final : public QLineEdit {
    Q_OBJECT
public:
    explicit InputBox(QWidget* parent = nullptr);

signals:
    // The focus came to the box from another control (or at the first show),
    // not back from another window or a popup.
    void gotFocus();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool awayWithWindow_ = false;
};

} // namespace lw
