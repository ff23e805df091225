#pragma once
// The text style dialog: spacing, width, bold and the arc in one small modal box,
// built from the form's design (text_style_design.hpp), with the note while
// the font's bold does not reach the outline.

#include "outline/text_style.hpp"

#include <QDialog>

#include <optional>

class QCheckBox;
class QDoubleSpinBox;
class QLabel;

namespace lw {

class TextStyleDialog final : public QDialog {
    Q_OBJECT
public:
    TextStyleDialog(QWidget* parent, const TextStyle& preset, bool fontBold);

    TextStyle style() const;

    // Shows the dialog modally: the style, or nothing when cancelled.
    static std::optional<TextStyle> ask(QWidget* parent, const TextStyle& preset, bool fontBold);

private:
    void showNote();

    QDoubleSpinBox* spacing_ = nullptr;
    QDoubleSpinBox* width_ = nullptr;
    QDoubleSpinBox* arcRadius_ = nullptr; // 0: a straight line
    QDoubleSpinBox* arcAngle_ = nullptr;
    QCheckBox* bold_ = nullptr;
    QCheckBox* kerning_ = nullptr;
    QLabel* note_ = nullptr;
    bool fontBold_ = false;
};

} // namespace lw
