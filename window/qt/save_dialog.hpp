#pragma once
// The save dialog of the window on its own: Qt's file dialog with one filter
// per format, a precision box beneath the file type, and beneath that the
// DXF and SVG choices (merge, curves, offset, anchor, mirror), idle for JW points,
// and each format's own (the DXF's version and text, the PDF's page, paint
// and margin, the HPGL's overcut), idle for the others.

#include "form/form_view.hpp"

#include <QFileDialog>

#include <optional>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;

namespace lw {

class SaveDialog final : public QFileDialog {
    Q_OBJECT
public:
    SaveDialog(QWidget* parent, const SaveChoice& preset);

    // The file, file type, precision and CAD choices as chosen: a name without an
    // extension gets the file type's. (A typed extension decides the
    // format: the form's rule, formatForPath.)
    SaveChoice choice() const;

    // Shows the dialog modally: the choice, or nothing when cancelled.
    static std::optional<SaveChoice> ask(QWidget* parent, const SaveChoice& preset);

protected:
    // A typed name whose extension is none of ours gets the file type's
    // before the dialog checks it (and asks before replacing that file):
    // Qt adds the default suffix only to a name without a dot.
    void accept() override;

private:
    void formatChosen(const QString& filter);
    SaveFormat chosenFormat() const;

    void enableCadChoices(SaveFormat format);

    QComboBox* precision_ = nullptr;
    QCheckBox* merge_ = nullptr;
    QCheckBox* curves_ = nullptr;
    QDoubleSpinBox* offset_ = nullptr;
    QComboBox* anchor_ = nullptr;
    QComboBox* mirror_ = nullptr;
    QComboBox* dxfVersion_ = nullptr;
    QCheckBox* dxfText_ = nullptr;
    QComboBox* pdfPage_ = nullptr;
    QComboBox* pdfPaint_ = nullptr;
    QComboBox* pdfMargin_ = nullptr;
    QComboBox* hpglOvercut_ = nullptr;
    QComboBox* stencil_ = nullptr;
    QComboBox* stencilBridges_ = nullptr;
    QComboBox* penWidth_ = nullptr;
    QCheckBox* centreline_ = nullptr;
    OutputChoices output_; // what the dialog does not show is kept as it was
};

} // namespace lw
