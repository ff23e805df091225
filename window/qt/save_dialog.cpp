#include "window/qt/save_dialog.hpp"

#include "form/save_kinds.hpp"
#include "window/qt/caption_translator.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>

#include <algorithm>

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

    merge_ = new QCheckBox(captionText(kMergeCaption), this);
    merge_->setObjectName(QStringLiteral("merge"));
    merge_->setChecked(preset.cad.merge);
    curves_ = new QCheckBox(captionText(kCurvesCaption), this);
    curves_->setObjectName(QStringLiteral("curves"));
    curves_->setChecked(preset.cad.curves);
    offset_ = new QDoubleSpinBox(this);
    offset_->setObjectName(QStringLiteral("offset"));
    // Whole hundredths, the finest grid; the box's own locale reads the number.
    offset_->setDecimals(2);
    offset_->setSingleStep(0.05);
    offset_->setRange(-kSaveOffsetLimitMm, kSaveOffsetLimitMm);
    offset_->setValue(preset.cad.offsetMm);
    anchor_ = new QComboBox(this);
    anchor_->setObjectName(QStringLiteral("anchor"));
    for (const SaveAnchorDesign& a : saveAnchors())
        anchor_->addItem(captionText(a.caption), int(a.anchor));
    anchor_->setCurrentIndex(std::max(0, anchor_->findData(int(preset.cad.anchor))));
    mirror_ = new QComboBox(this);
    mirror_->setObjectName(QStringLiteral("mirror"));
    for (const SaveMirrorDesign& m : saveMirrors())
        mirror_->addItem(captionText(m.caption), int(m.mirror));
    mirror_->setCurrentIndex(std::max(0, mirror_->findData(int(preset.cad.mirror))));

    output_ = preset.output;
    const auto box = [this](const char* name) {
        auto* made = new QComboBox(this);
        made->setObjectName(QLatin1String(name));
        return made;
    };
    dxfVersion_ = box("dxfVersion");
    for (const SaveDxfVersionDesign& v : saveDxfVersions())
        dxfVersion_->addItem(captionText(v.caption), int(v.version));
    dxfVersion_->setCurrentIndex(std::max(0, dxfVersion_->findData(int(preset.output.dxfVersion))));
    dxfText_ = new QCheckBox(captionText(kDxfTextCaption), this);
    dxfText_->setObjectName(QStringLiteral("dxfText"));
    dxfText_->setChecked(preset.output.dxfText);
    pdfPage_ = box("pdfPage");
    int index = 0;
    for (const SavePdfPageDesign& p : savePdfPages()) {
        pdfPage_->addItem(captionText(p.caption), index);
        if (p.size == preset.output.pdf.page)
            pdfPage_->setCurrentIndex(index);
        ++index;
    }
    pdfPaint_ = box("pdfPaint");
    for (const SavePdfPaintDesign& p : savePdfPaints())
        pdfPaint_->addItem(captionText(p.caption), int(p.paint));
    pdfPaint_->setCurrentIndex(std::max(0, pdfPaint_->findData(int(preset.output.pdf.paint))));
    const auto fillMillimetres = [](QComboBox* into, std::span<const double> values, double chosen) {
        for (const double mm : values) {
            into->addItem(QString::fromStdString(millimetreEntry(mm)), mm);
            if (mm == chosen)
                into->setCurrentIndex(into->count() - 1);
        }
    };
    pdfMargin_ = box("pdfMargin");
    fillMillimetres(pdfMargin_, savePdfMargins(), preset.output.pdf.marginMm);
    hpglOvercut_ = box("hpglOvercut");
    fillMillimetres(hpglOvercut_, saveHpglOvercuts(), preset.output.hpgl.overcutMm);
    stencil_ = box("stencil");
    fillMillimetres(stencil_, saveStencilWidths(), preset.cad.stencilMm);
    stencil_->setItemText(0, captionText(kStencilNone));
    stencilBridges_ = box("stencilBridges");
    for (const int n : saveStencilBridgeCounts()) {
        stencilBridges_->addItem(QString::number(n), n);
        if (n == preset.cad.stencilBridges)
            stencilBridges_->setCurrentIndex(stencilBridges_->count() - 1);
    }
    // Bridges only where there is a stencil to hold.
    const auto stencilShown = [this] {
        stencilBridges_->setEnabled(stencil_->isEnabled() && stencil_->currentData().toDouble() > 0);
    };
    connect(stencil_, &QComboBox::currentIndexChanged, this, stencilShown);
    centreline_ = new QCheckBox(captionText(kCentrelineCaption), this);
    centreline_->setObjectName(QStringLiteral("centreline"));
    centreline_->setChecked(preset.cad.centreline);
    penWidth_ = box("penWidth");
    fillMillimetres(penWidth_, savePenWidths(), preset.cad.penMm);

    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        const auto addRow = [&](const char* caption, QWidget* box) {
            const int row = grid->rowCount();
            if (caption) {
                auto* text = new QLabel(captionText(caption), this);
                text->setBuddy(box);
                grid->addWidget(text, row, 0);
            }
            grid->addWidget(box, row, 1);
        };
        const int row = grid->rowCount();
        grid->addWidget(label, row, 0);
        grid->addWidget(precision_, row, 1);
        addRow(nullptr, merge_);
        addRow(nullptr, curves_);
        addRow(kOffsetCaption, offset_);
        addRow(kAnchorCaption, anchor_);
        addRow(kMirrorCaption, mirror_);
        addRow(kDxfVersionCaption, dxfVersion_);
        addRow(nullptr, dxfText_);
        addRow(kPdfPaintCaption, pdfPaint_);
        addRow(kPdfPageCaption, pdfPage_);
        addRow(kPdfMarginCaption, pdfMargin_);
        addRow(kHpglOvercutCaption, hpglOvercut_);
        addRow(kStencilCaption, stencil_);
        addRow(kStencilBridgesCaption, stencilBridges_);
        addRow(nullptr, centreline_);
        addRow(kPenWidthCaption, penWidth_);
    }

    const SaveFormatDesign& format = saveFormatDesign(preset.format);
    selectNameFilter(filterOf(format));
    setDefaultSuffix(QString::fromLatin1(format.extension));
    const QString path = QString::fromStdString(preset.path);
    const QFileInfo file(path);
    if (!file.path().isEmpty() && file.path() != QLatin1String(".") && QFileInfo(file.path()).isDir())
        setDirectory(file.path());
    selectFile(file.fileName());
    enableCadChoices(preset.format);
    connect(this, &QFileDialog::filterSelected, this, &SaveDialog::formatChosen);
}

void SaveDialog::formatChosen(const QString& filter)
{
    for (const SaveFormatDesign& f : saveFormats()) {
        if (filterOf(f) != filter)
            continue;
        enableCadChoices(f.format);
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

void SaveDialog::enableCadChoices(SaveFormat format)
{
    const bool cad = takesCadChoices(format);
    for (QWidget* box : {static_cast<QWidget*>(merge_), static_cast<QWidget*>(curves_), static_cast<QWidget*>(offset_),
                         static_cast<QWidget*>(anchor_), static_cast<QWidget*>(mirror_), static_cast<QWidget*>(stencil_),
                         static_cast<QWidget*>(centreline_)})
        box->setEnabled(cad);
    stencilBridges_->setEnabled(cad && stencil_->currentData().toDouble() > 0);
    dxfVersion_->setEnabled(format == SaveFormat::Dxf);
    dxfText_->setEnabled(format == SaveFormat::Dxf);
    for (QWidget* box : {pdfPage_, pdfPaint_, pdfMargin_})
        box->setEnabled(format == SaveFormat::Pdf);
    hpglOvercut_->setEnabled(format == SaveFormat::Hpgl);
    // A pen's width is drawn in pictures and pages; cutters and CAD take lines.
    penWidth_->setEnabled(format == SaveFormat::Svg || format == SaveFormat::Pdf);
}

SaveFormat SaveDialog::chosenFormat() const
{
    for (const SaveFormatDesign& f : saveFormats())
        if (filterOf(f) == selectedNameFilter())
            return f.format;
    return SaveFormat::Dxf;
}

void SaveDialog::accept()
{
    const QStringList files = selectedFiles();
    if (files.size() == 1) {
        const QString named = QString::fromStdString(withFormatExtension(files.first().toStdString(), chosenFormat()));
        // A folder typed opens it, as the dialog does.
        if (named != files.first() && !QFileInfo(files.first()).isDir())
            selectFile(named);
    }
    QFileDialog::accept();
}

SaveChoice SaveDialog::choice() const
{
    SaveChoice chosen;
    const QStringList files = selectedFiles();
    chosen.path = files.isEmpty() ? std::string() : files.first().toStdString();
    chosen.precision = static_cast<SavePrecision>(precision_->currentData().toInt());
    chosen.format = chosenFormat();
    chosen.cad.merge = merge_->isChecked();
    chosen.cad.curves = curves_->isChecked();
    chosen.cad.offsetMm = offset_->value();
    chosen.cad.anchor = static_cast<Anchor>(anchor_->currentData().toInt());
    chosen.cad.mirror = static_cast<Mirror>(mirror_->currentData().toInt());
    chosen.cad.stencilMm = stencil_->currentData().toDouble();
    chosen.cad.stencilBridges = stencilBridges_->currentData().toInt();
    chosen.cad.penMm = penWidth_->currentData().toDouble();
    chosen.cad.centreline = centreline_->isChecked();
    chosen.output = output_;
    chosen.output.dxfVersion = static_cast<DxfVersion>(dxfVersion_->currentData().toInt());
    chosen.output.dxfText = dxfText_->isChecked();
    chosen.output.pdf.page = savePdfPages()[std::size_t(std::max(0, pdfPage_->currentData().toInt()))].size;
    chosen.output.pdf.paint = static_cast<PdfPaint>(pdfPaint_->currentData().toInt());
    chosen.output.pdf.marginMm = pdfMargin_->currentData().toDouble();
    chosen.output.hpgl.overcutMm = hpglOvercut_->currentData().toDouble();
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
