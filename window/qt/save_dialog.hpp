#pragma once
// The save dialog of the window on its own: Qt's file dialog with one filter
// per format and a precision box beneath the file type.

#include "form/form_view.hpp"

#include <QFileDialog>

#include <optional>

class QComboBox;

namespace lw {

class SaveDialog final : public QFileDialog {
    Q_OBJECT
public:
    SaveDialog(QWidget* parent, const SaveChoice& preset);

    // The file, file type and precision as chosen: a name without an
    // extension gets the file type's. (A typed extension decides the
    // format: the form's rule, formatForPath.)
    SaveChoice choice() const;

    // Shows the dialog modally: the choice, or nothing when cancelled.
    static std::optional<SaveChoice> ask(QWidget* parent, const SaveChoice& preset);

private:
    void formatChosen(const QString& filter);

    QComboBox* precision_ = nullptr;
};

} // namespace lw
