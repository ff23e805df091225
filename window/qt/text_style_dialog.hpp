#pragma once
// The text style dialog: spacing, width, bold, the arc, oblique and fit in one small modal box,
// built from the form's design (text_style_design.hpp), with the note while
// the font's bold does not reach the outline.

#include "outline/text_style.hpp"

#include <QDialog>

#include <optional>
#include <vector>

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

    // One entry per field of the design, in its order: a spin box or a check box.
    std::vector<QDoubleSpinBox*> boxes_;
    std::vector<QCheckBox*> checks_;
    QCheckBox* bold_ = nullptr;
    QLabel* note_ = nullptr;
    bool fontBold_ = false;
};

} // namespace lw
