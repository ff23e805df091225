#pragma once
// The font dialog's stroke faces: a group of its own below Qt's lists (which
// hold installed outline families only), choosing an installed stroke font
// that draws the text as open lines, its vertical "@" face, or none.
//
//   QFontDialog dialog(QFont("IPAGothic"));
//   StrokeFaceBox stroke(dialog, "@rowmans");  // opens on @rowmans
//   stroke.faceName();                          // "@rowmans", or "" for none

#include <QString>

#include <string>

class QComboBox;
class QFontDialog;

namespace lw {

class StrokeFaceBox {
public:
    StrokeFaceBox(QFontDialog& dialog, const std::string& preset);

    // The stroke face chosen, or empty for none (the outline face draws).
    std::string faceName() const;

private:
    QComboBox* box_;
};

} // namespace lw
