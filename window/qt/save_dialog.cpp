#include "window/qt/save_dialog.hpp"

#include "form/save_kinds.hpp"
#include "window/qt/caption_translator.hpp"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>

namespace lw {
namespace {

// "DXF 図面 (*.dxf)": the file type's name and its pattern.
QString filterOf(const SaveFormatDesign& f)
{
    return captionText(f.caption) + QStringLiteral(" (*.") + QLatin1String(f.extension) + QLatin1Char(')');
}

} // namespace

SaveDialog::SaveDialog(QWidget* parent, const SaveChoice& preset) : QFileDialog(parent)
{
    setObjectName(QStringLiteral("saveDialog"));
    setWindowTitle(captionText(kSaveDialogTitle));
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    // The precision box needs Qt's own dialog; a desktop's native one takes
    // no extra controls.
    setOption(QFileDialog::DontUseNativeDialog);
    QStringList filters;
    for (const SaveFormatDesign& f : saveFormats())
        filters << filterOf(f);
    setNameFilters(filters);

    precision_ = new QComboBox(this);
    precision_->setObjectName(QStringLiteral("precision"));
    for (const SavePrecisionDesign& p : savePrecisions())
        precision_->addItem(captionText(p.caption), int(p.precision));
    precision_->setCurrentIndex(precision_->findData(int(preset.precision)));
    auto* label = new QLabel(captionText(kPrecisionCaption), this);
    label->setBuddy(precision_);
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        const int row = grid->rowCount();
        grid->addWidget(label, row, 0);
        grid->addWidget(precision_, row, 1);
    }

    const SaveFormatDesign& format = saveFormatDesign(preset.format);
    selectNameFilter(filterOf(format));
    setDefaultSuffix(QString::fromLatin1(format.extension));
    const QString path = QString::fromStdString(preset.path);
    const QFileInfo file(path);
    if (!file.path().isEmpty() && file.path() != QLatin1String(".") && QFileInfo(file.path()).isDir())
        setDirectory(file.path());
    selectFile(file.fileName());
    connect(this, &QFileDialog::filterSelected, this, &SaveDialog::formatChosen);
}

void SaveDialog::formatChosen(const QString& filter)
{
    for (const SaveFormatDesign& f : saveFormats()) {
        if (filterOf(f) != filter)
            continue;
        // The suggested name follows the format, as long as its extension
        // is one of ours.
        const QString old = defaultSuffix();
        setDefaultSuffix(QString::fromLatin1(f.extension));
        const QStringList files = selectedFiles();
        if (!files.isEmpty()) {
            const QFileInfo file(files.first());
            if (file.suffix() == old)
                selectFile(file.completeBaseName() + QLatin1Char('.') + QLatin1String(f.extension));
        }
    }
}

SaveChoice SaveDialog::choice() const
{
    SaveChoice chosen;
    const QStringList files = selectedFiles();
    chosen.path = files.isEmpty() ? std::string() : files.first().toStdString();
    chosen.precision = static_cast<SavePrecision>(precision_->currentData().toInt());
    for (const SaveFormatDesign& f : saveFormats())
        if (filterOf(f) == selectedNameFilter())
            chosen.format = f.format;
    return chosen;
}

std::optional<SaveChoice> SaveDialog::ask(QWidget* parent, const SaveChoice& preset)
{
    SaveDialog dialog(parent, preset);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
}

} // namespace lw
