#include "window/qt/services.hpp"

#include "window/qt/stroke_face_box.hpp"
#include "window/qt/vertical_face_box.hpp"
#include "form/form_design.hpp"
#include "form/form1.hpp"
#include "form/tool_marks.hpp"
#include "platform/font_file.hpp"
#include "window/qt/caption_translator.hpp"

#include <QFontDatabase>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QPushButton>
#include <QFontInfo>
#include <QMessageBox>

#include <cstdio>
#include <memory>
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

bool isSlanted(const QFont& font) { return font.italic() || font.style() != QFont::StyleNormal; }

// Qt's dialog selects a new family's first style ("Oblique", "Condensed
// Italic") when the current one has no namesake there, so a click on a
// family alone would turn the outline italic. The style the user has is
// kept instead: the new family's style of that slant and weight, else its
// regular one. Queued, so the lists have finished their own update.
void keepStyleAcrossFamilies(QFontDialog& dialog, bool bold, bool italic)
{
    struct Kept {
        QString family;
        bool bold, italic;
    };
    auto kept = std::make_shared<Kept>(Kept{dialog.currentFont().family(), bold, italic});
    QObject::connect(&dialog, &QFontDialog::currentFontChanged, &dialog, [&dialog, kept](const QFont& font) {
        if (font.family() == kept->family) {
            // A style, size or effect chosen in the same family is the user's.
            kept->bold = font.weight() >= QFont::DemiBold;
            kept->italic = isSlanted(font);
            return;
        }
        kept->family = font.family();
        QString style = styleFor(font.family(), kept->bold, kept->italic);
        if (style.isEmpty())
            style = styleFor(font.family(), false, false);
        if (style.isEmpty() || style == font.styleName())
            return;
        QFont same = font;
        same.setStyleName(style);
        dialog.setCurrentFont(same);
    }, Qt::QueuedConnection);
}

} // namespace

WindowFont QtServices::chooseFont(QWidget* parent, const WindowFont& preset)
{
    // An "@" face is its family written vertically: the dialog shows the
    // family, with the vertical box ticked.
    const bool vertical = preset.faceName.starts_with('@');
    QFont initial(QString::fromStdString(vertical ? preset.faceName.substr(1) : preset.faceName));
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
    // Qt's own dialog: a desktop's native one could not keep the style.
    QFontDialog dialog(initial, parent);
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    keepStyleAcrossFamilies(dialog, preset.bold, preset.italic);
    const VerticalFaceBox verticalBox(dialog, vertical);
    const StrokeFaceBox strokeBox(dialog, preset.strokeFace);
    // "Font file...": a face from a file that need not be installed (one
    // face of a collection by its index); the form adds the file.
    std::string fontFile;
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
        QPushButton* fromFile = buttons->addButton(captionText(kFontFileButton), QDialogButtonBox::ActionRole);
        fromFile->setObjectName(QStringLiteral("cmdFontFile"));
        QObject::connect(fromFile, &QPushButton::clicked, &dialog, [&dialog, &fontFile] {
            // Qt's own, as the font dialog is.
            QFileDialog files(&dialog, captionText(kFontFileButton), QString(),
                              QStringLiteral("Fonts (*.ttf *.otf *.ttc *.otc *.TTF *.OTF *.TTC *.OTC);;* (*)"));
            files.setObjectName(QStringLiteral("fontFileDialog"));
            files.setFileMode(QFileDialog::ExistingFile);
            files.setOption(QFileDialog::DontUseNativeDialog);
            if (files.exec() != QDialog::Accepted || files.selectedFiles().isEmpty())
                return;
            const std::string file = files.selectedFiles().front().toStdString();
            const FontFileFace face = readFontFileFace(file, 0);
            int index = 0;
            if (face.faces > 1) {
                bool ok = false;
                index = QInputDialog::getInt(&dialog, captionText(kFontFileButton), captionText(kFaceIndexCaption), 0, 0,
                                             int(face.faces - 1), 1, &ok);
                if (!ok)
                    return;
            }
            fontFile = fontFileChoiceText(file, std::uint32_t(index));
            dialog.accept();
        });
    }
    if (dialog.exec() != QDialog::Accepted)
        return preset;
    const QFont chosen = dialog.selectedFont();
    WindowFont result;
    result.fontFile = fontFile;
    result.faceName = verticalBox.faceName(chosen.family()).toStdString();
    result.bold = chosen.bold();
    result.italic = chosen.italic();
    result.size = static_cast<float>(chosen.pointSizeF());
    result.strikeout = chosen.strikeOut();
    result.underline = chosen.underline();
    result.strokeFace = strokeBox.faceName();
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

std::optional<double> QtServices::askToolSize(QWidget* parent, double presetMm)
{
    bool ok = false;
    // Thousandths: a tool's width is given to the micrometre at most.
    const double mm = QInputDialog::getDouble(parent, QString::fromUtf8(kProgramTitle), captionText(kToolSizeCaption),
                                              presetMm, 0.001, kToolLimitMm, 3, &ok);
    if (!ok)
        return std::nullopt;
    return mm;
}

} // namespace lw
