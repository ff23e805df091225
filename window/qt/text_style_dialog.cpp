#include "window/qt/text_style_dialog.hpp"

#include "form/text_style_design.hpp"
#include "window/qt/caption_translator.hpp"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>
#include <iterator>

namespace lw {
namespace {

// The spacing box: points as it shows them, millimetres too as typed
// ("0.5mm"), converted to points when the edit ends.
class SpacingBox final : public QDoubleSpinBox {
public:
    using QDoubleSpinBox::QDoubleSpinBox;

    QValidator::State validate(QString& input, int& position) const override
    {
        const std::optional<double> points = typed(input);
        if (points && *points >= minimum() && *points <= maximum())
            return QValidator::Acceptable;
        // The box's own form in the user's locale ("1,5 pt") stays good.
        const QValidator::State own = QDoubleSpinBox::validate(input, position);
        // On the way to a number or a unit: "-", "0.", "0.5 m".
        return own == QValidator::Invalid ? QValidator::Intermediate : own;
    }
    double valueFromText(const QString& text) const override
    {
        const std::optional<double> points = typed(text);
        if (!points)
            return QDoubleSpinBox::valueFromText(text);
        // Held to the box's decimals, as it shows the value and as the
        // native window's box holds it.
        const double scale = std::pow(10.0, decimals());
        return std::round(*points * scale) / scale;
    }
    void fixup(QString& input) const override { input = textFromValue(value()) + suffix(); }

private:
    // The box keeps its " pt" after what is typed: "0.5mm pt" is 0.5 mm.
    std::optional<double> typed(QString text) const
    {
        if (!suffix().isEmpty() && text.endsWith(suffix()))
            text.chop(suffix().size());
        return typedSpacingPoints(text.toStdString());
    }
};

} // namespace

TextStyleDialog::TextStyleDialog(QWidget* parent, const TextStyle& preset, bool fontBold)
    : QDialog(parent), fontBold_(fontBold)
{
    setObjectName(QStringLiteral("textStyleDialog"));
    setWindowTitle(captionText(kTextStyleTitle));
    auto* form = new QFormLayout;
    for (const TextStyleFieldDesign& f : kTextStyleFields) {
        const QString name = QString::fromLatin1(f.name);
        const double value = fieldValue(preset, f.field);
        if (*f.unit == '\0') {
            auto* check = new QCheckBox(captionText(f.caption), this);
            check->setObjectName(name);
            check->setChecked(value != 0);
            if (f.field == TextStyleField::Bold) {
                bold_ = check;
                connect(bold_, &QCheckBox::toggled, this, &TextStyleDialog::showNote);
            }
            checks_.push_back(check);
            boxes_.push_back(nullptr);
            form->addRow(check);
            continue;
        }
        QDoubleSpinBox* box = f.field == TextStyleField::Spacing ? new SpacingBox(this) : new QDoubleSpinBox(this);
        box->setObjectName(name);
        if (f.field == TextStyleField::Spacing)
            box->setToolTip(captionText(kSpacingTip));
        box->setRange(f.minimum, f.maximum);
        box->setSingleStep(f.step);
        box->setDecimals(f.decimals);
        box->setSuffix(QStringLiteral(" ") + QString::fromUtf8(f.unit));
        box->setValue(value);
        boxes_.push_back(box);
        checks_.push_back(nullptr);
        form->addRow(captionText(f.caption), box);
    }
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("lblBoldNote"));
    note_->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(captionText("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note_);
    layout->addWidget(buttons);
    showNote();
}

void TextStyleDialog::showNote()
{
    const char* note = boldNote(fontBold_, bold_->isChecked());
    note_->setText(note ? captionText(note) : QString());
    note_->setVisible(note != nullptr);
}

TextStyle TextStyleDialog::style() const
{
    TextStyle chosen;
    for (std::size_t i = 0; i < std::size(kTextStyleFields); ++i)
        setFieldValue(chosen, kTextStyleFields[i].field,
                      boxes_[i] ? boxes_[i]->value() : checks_[i]->isChecked() ? 1 : 0);
    return textStyleWithin(chosen);
}

std::optional<TextStyle> TextStyleDialog::ask(QWidget* parent, const TextStyle& preset, bool fontBold)
{
    TextStyleDialog dialog(parent, preset, fontBold);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.style();
}

} // namespace lw
