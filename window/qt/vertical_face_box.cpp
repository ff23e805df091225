#include "window/qt/vertical_face_box.hpp"

#include "window/qt/caption_translator.hpp"

#include <QCheckBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QGroupBox>
#include <QLayout>

namespace lw {

bool holdsJapanese(const QString& family)
{
    return QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese);
}

VerticalFaceBox::VerticalFaceBox(QFontDialog& dialog, bool vertical)
{
    box_ = new QCheckBox(captionText(kVerticalFaceCaption));
    box_->setObjectName(QStringLiteral("chkVertical"));
    box_->setChecked(vertical);
    // Beside strikeout and underline where the dialog has them, else below.
    QLayout* effects = nullptr;
    if (auto* underline = dialog.findChild<QCheckBox*>(); underline && underline->parentWidget())
        effects = underline->parentWidget()->layout();
    if (!effects)
        effects = dialog.layout();
    effects->addWidget(box_);
    const auto follow = [this](const QFont& font) { box_->setEnabled(holdsJapanese(font.family())); };
    follow(dialog.currentFont());
    QObject::connect(&dialog, &QFontDialog::currentFontChanged, box_, follow);
}

QString VerticalFaceBox::faceName(const QString& family) const
{
    return box_->isChecked() && holdsJapanese(family) ? QLatin1Char('@') + family : family;
}

} // namespace lw
