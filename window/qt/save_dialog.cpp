#include "window/qt/save_dialog.hpp"

#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>

#include <array>

namespace lw {
namespace {

QString caption(const char* designCaption) { return QCoreApplication::translate("SaveDialog", designCaption); }

struct Format {
    SaveFormat format;
    const char* filter;
    const char* suffix;
};

constexpr std::array<Format, 3> kFormats{{
    {SaveFormat::Dxf, "DXF 図面 (*.dxf)", "dxf"},
    {SaveFormat::Svg, "SVG 画像 (*.svg)", "svg"},
    {SaveFormat::JwPoints, "JW 座標の行 (*.txt)", "txt"},
}};

const Format& formatOf(SaveFormat format)
{
    for (const Format& f : kFormats)
        if (f.format == format)
            return f;
    return kFormats[0];
}

} // namespace

SaveDialog::SaveDialog(QWidget* parent, const SaveChoice& preset) : QFileDialog(parent)
{
    setObjectName(QStringLiteral("saveDialog"));
    setWindowTitle(caption("アウトラインの保存"));
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    // The precision box needs Qt's own dialog; a desktop's native one takes
    // no extra controls.
    setOption(QFileDialog::DontUseNativeDialog);
    QStringList filters;
    for (const Format& f : kFormats)
        filters << caption(f.filter);
    setNameFilters(filters);

    precision_ = new QComboBox(this);
    precision_->setObjectName(QStringLiteral("precision"));
    precision_->addItem(caption("標準 (0.26 mm)"), int(SavePrecision::Classic));
    precision_->addItem(QStringLiteral("0.1 mm"), int(SavePrecision::Tenth));
    precision_->addItem(QStringLiteral("0.01 mm"), int(SavePrecision::Hundredth));
    precision_->setCurrentIndex(precision_->findData(int(preset.precision)));
    auto* label = new QLabel(caption("精度:"), this);
    label->setBuddy(precision_);
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        const int row = grid->rowCount();
        grid->addWidget(label, row, 0);
        grid->addWidget(precision_, row, 1);
    }

    const Format& format = formatOf(preset.format);
    selectNameFilter(caption(format.filter));
    setDefaultSuffix(QString::fromLatin1(format.suffix));
    const QString path = QString::fromStdString(preset.path);
    const QFileInfo file(path);
    if (!file.path().isEmpty() && file.path() != QLatin1String(".") && QFileInfo(file.path()).isDir())
        setDirectory(file.path());
    selectFile(file.fileName());
    connect(this, &QFileDialog::filterSelected, this, &SaveDialog::formatChosen);
}

void SaveDialog::formatChosen(const QString& filter)
{
    for (const Format& f : kFormats) {
        if (caption(f.filter) != filter)
            continue;
        // The suggested name follows the format, as long as its extension
        // is one of ours.
        const QString old = defaultSuffix();
        setDefaultSuffix(QString::fromLatin1(f.suffix));
        const QStringList files = selectedFiles();
        if (!files.isEmpty()) {
            const QFileInfo file(files.first());
            if (file.suffix() == old)
                selectFile(file.completeBaseName() + QLatin1Char('.') + QLatin1String(f.suffix));
        }
    }
}

SaveChoice SaveDialog::choice() const
{
    SaveChoice chosen;
    const QStringList files = selectedFiles();
    chosen.path = files.isEmpty() ? std::string() : files.first().toStdString();
    chosen.precision = static_cast<SavePrecision>(precision_->currentData().toInt());
    // A name that says one of the formats is written in it; else the filter's.
    const QString suffix = QFileInfo(files.value(0)).suffix().toLower();
    chosen.format = SaveFormat::Dxf;
    bool named = false;
    for (const Format& f : kFormats)
        if (suffix == QLatin1String(f.suffix)) {
            chosen.format = f.format;
            named = true;
        }
    if (!named)
        for (const Format& f : kFormats)
            if (caption(f.filter) == selectedNameFilter())
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
