#pragma once
// The stock line edit dressed as Letterwire's text box (481 x 57, the design
// face at 24 pt, the same yellow): the baseline the window's figures are
// read against.

#include <QColor>
#include <QFont>
#include <QLineEdit>
#include <QPalette>
#include <QString>

inline void dressAsTextBox(QLineEdit& edit)
{
    // The face the window's rules put in place of its 24 pt design font.
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPointSizeF(24);
    edit.setFont(font);
    edit.setFixedSize(481, 57);
    QPalette yellow = edit.palette();
    yellow.setColor(QPalette::Base, QColor(0xFF, 0xFF, 0x80));
    edit.setPalette(yellow);
}
