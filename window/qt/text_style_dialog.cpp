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

namespace lw {

TextStyleDialog::TextStyleDialog(QWidget* parent, const TextStyle& preset, bool fontBold)
    : QDialog(parent), fontBold_(fontBold)
{
    setObjectName(QStringLiteral("textStyleDialog"));
    setWindowTitle(captionText(kTextStyleTitle));
    auto* form = new QFormLayout;
    for (const TextStyleFieldDesign& f : kTextStyleFields) {
        const QString name = QString::fromLatin1(f.name);
        if (f.field == TextStyleField::Bold) {
            bold_ = new QCheckBox(captionText(f.caption), this);
            bold_->setObjectName(name);
            bold_->setChecked(preset.bold);
            connect(bold_, &QCheckBox::toggled, this, &TextStyleDialog::showNote);
            form->addRow(bold_);
            continue;
        }
        auto* box = new QDoubleSpinBox(this);
        box->setObjectName(name);
        box->setRange(f.minimum, f.maximum);
        box->setSingleStep(f.step);
        box->setDecimals(f.decimals);
        box->setSuffix(QStringLiteral(" ") + QString::fromLatin1(f.unit));
        switch (f.field) {
        case TextStyleField::Spacing:
            box->setValue(preset.spacing);
            spacing_ = box;
            break;
        case TextStyleField::Width:
            box->setValue(double(preset.widthPercent));
            width_ = box;
            break;
        case TextStyleField::ArcRadius:
            box->setValue(preset.arc.radiusMm);
            arcRadius_ = box;
            break;
        default:
            box->setValue(arcAngleShown(preset.arc));
            arcAngle_ = box;
            break;
        }
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
    TextStyle style = textStyleWithin(spacing_->value(), width_->value(), bold_->isChecked());
    style.arc = arcStyleWithin(arcRadius_->value(), arcAngle_->value());
    return style;
}

std::optional<TextStyle> TextStyleDialog::ask(QWidget* parent, const TextStyle& preset, bool fontBold)
{
    TextStyleDialog dialog(parent, preset, fontBold);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.style();
}

} // namespace lw
