#include "window/qt/services.hpp"

#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>

namespace lw {
namespace {

// The family's style that shows `bold` and `italic` at normal width and
// weight ("Book" in DejaVu Sans, "Regular" elsewhere), so that the dialog
// opens on the current style instead of on its list's first entry.
QString styleFor(const QString& family, bool bold, bool italic)
{
    QString best;
    int bestScore = -1;
    for (const QString& style : QFontDatabase::styles(family)) {
        const int weight = QFontDatabase::weight(family, style);
        const QFont font = QFontDatabase::font(family, style, 12);
        // An oblique style is no italic to QFontDatabase::italic, but is one
        // to QFont and to the outline.
        const bool slanted = QFontDatabase::italic(family, style) || font.style() != QFont::StyleNormal;
        if (slanted != italic || (weight >= QFont::DemiBold) != bold)
            continue;
        int score = 1000 - std::abs(weight - (bold ? QFont::Bold : QFont::Normal));
        if (font.stretch() == QFont::AnyStretch || font.stretch() == QFont::Unstretched)
            score += 1000;
        if (!style.contains(QLatin1String("Condensed")) && !style.contains(QLatin1String("Expanded")))
            score += 500;
        if (score > bestScore) {
            bestScore = score;
            best = style;
        }
    }
    return best;
}

} // namespace

WindowFont QtServices::chooseFont(QWidget* parent, const WindowFont& preset)
{
    QFont initial(QString::fromStdString(preset.faceName));
    // An alias such as the design face is not in the dialog's list; show the
    // face it resolves to, or the dialog would select an unrelated default.
    if (!QFontDatabase::families().contains(initial.family()))
        initial.setFamily(QFontInfo(initial).family());
    initial.setBold(preset.bold);
    initial.setItalic(preset.italic);
    // The whole current font, its style included, so OK without a
    // change changes nothing.
    initial.setStyleName(styleFor(initial.family(), preset.bold, preset.italic));
    initial.setPointSizeF(preset.size);
    initial.setStrikeOut(preset.strikeout);
    initial.setUnderline(preset.underline);
    bool accepted = false;
    const QFont chosen = QFontDialog::getFont(&accepted, initial, parent);
    if (!accepted)
        return preset;
    WindowFont result;
    result.faceName = chosen.family().toStdString();
    result.bold = chosen.bold();
    result.italic = chosen.italic();
    result.size = static_cast<float>(chosen.pointSizeF());
    result.strikeout = chosen.strikeOut();
    result.underline = chosen.underline();
    return result;
}

void QtServices::showMessage(QWidget* parent, const QString& caption, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent);
    box.exec();
}

void QtServices::endProgram(int status)
{
    // _Exit, not exit: Qt's statics must not be torn down under a live
    // window, and nothing of ours is left to flush but the C streams.
    std::fflush(nullptr);
    std::_Exit(status);
}

} // namespace lw
