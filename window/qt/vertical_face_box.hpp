#pragma once
// The font dialog's way to a vertical "@" face: a check box among its
// effects that turns a Japanese family into "@family", which the capture
// lays out for vertical writing. Qt's dialog lists installed families only
// and finds no font for a name it does not hold, so an "@" entry in its
// list would lose the style and size; the box keeps the dialog as it is.
//
//   QFontDialog dialog(QFont("IPAMincho"));
//   VerticalFaceBox vertical(dialog, true);    // opens ticked
//   vertical.faceName("IPAMincho");            // "@IPAMincho"

#include "form/form_design.hpp"

#include <QString>

class QCheckBox;
class QFontDialog;

namespace lw {

class VerticalFaceBox {
public:
    // Adds the box to the dialog's effects, ticked when `vertical`; it can
    // be ticked while the dialog's family holds Japanese characters.
    VerticalFaceBox(QFontDialog& dialog, bool vertical);

    // The face name the dialog's choice of `family` gives.
    QString faceName(const QString& family) const;

private:
    QCheckBox* box_;
};

// Whether fontconfig lists the family as one for Japanese.
bool holdsJapanese(const QString& family);

} // namespace lw
