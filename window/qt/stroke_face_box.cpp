#include "window/qt/stroke_face_box.hpp"

#include "form/form_design.hpp"
#include "form/stroke_drawing.hpp"
#include "form/stroke_face_list.hpp"
#include "window/qt/caption_translator.hpp"

#include <QComboBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>

#include <optional>
#include <vector>

namespace lw {

StrokeFaceBox::StrokeFaceBox(QFontDialog& dialog, const std::string& preset)
{
    auto* group = new QGroupBox(captionText(kStrokeFaceCaption), &dialog);
    group->setObjectName(QStringLiteral("grpStrokeFace"));
    box_ = new QComboBox(group);
    box_->setObjectName(QStringLiteral("cmbStrokeFace"));
    box_->addItem(captionText(kNoStrokeFace), QString());
    const std::vector<std::string> choices = strokeFaceChoices(strokeFaceNames());
    for (const std::string& name : choices)
        box_->addItem(QString::fromStdString(name), QString::fromStdString(name));
    if (const std::optional<std::size_t> at = strokeFaceChoiceOf(choices, preset))
        box_->setCurrentIndex(int(*at) + 1);
    auto* row = new QHBoxLayout(group);
    row->addWidget(box_);
    // Below the dialog's own lists and effects, across its width.
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(group, grid->rowCount(), 0, 1, grid->columnCount());
    else
        dialog.layout()->addWidget(group);
}

std::string StrokeFaceBox::faceName() const
{
    return box_->currentData().toString().toStdString();
}

} // namespace lw
