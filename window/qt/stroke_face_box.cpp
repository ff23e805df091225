#include "window/qt/stroke_face_box.hpp"

#include "form/form_design.hpp"
#include "form/stroke_drawing.hpp"
#include "window/qt/caption_translator.hpp"

#include <QComboBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>

namespace lw {

StrokeFaceBox::StrokeFaceBox(QFontDialog& dialog, const std::string& preset) : preset_(preset)
{
    auto* group = new QGroupBox(captionText(kStrokeFaceCaption), &dialog);
    group->setObjectName(QStringLiteral("grpStrokeFace"));
    box_ = new QComboBox(group);
    box_->setObjectName(QStringLiteral("cmbStrokeFace"));
    box_->addItem(captionText(kNoStrokeFace), QString());
    const std::string asked = preset.starts_with('@') ? preset.substr(1) : preset;
    for (const std::string& name : strokeFaceNames()) {
        box_->addItem(QString::fromStdString(name), QString::fromStdString(name));
        if (name == asked)
            box_->setCurrentIndex(box_->count() - 1);
    }
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
    const std::string name = box_->currentData().toString().toStdString();
    // A vertical stroke face stays vertical while it stays chosen.
    if (!name.empty() && preset_ == "@" + name)
        return preset_;
    return name;
}

} // namespace lw
