// The preview's pixels after keystrokes, written as PNG files for comparing
// two builds byte for byte: a change meant to cost less must paint the same.
// For several texts and sizes, with the view at its own pixels and fitted:
// the image after a kanji typed at the end, after it was taken back, and
// after each of a few more keys; and the window's paint of the preview box.
//   preview_images OUTPUT-FOLDER
//   cmp -s old/x.png new/x.png, or: diff -r old new

#include "window/qt/form1_view.hpp"
#include "window/qt/preview_box.hpp"
#include "own_settings.hpp"
#include "quiet_services.hpp"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QSettings>
#include <QTest>

#include <cstdio>

namespace {

struct Text {
    const char* name;
    QString text;
};

bool save(const QImage& image, const QString& path)
{
    if (image.save(path, "PNG"))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: preview_images OUTPUT-FOLDER\n");
        return 2;
    }
    prepareWindowBench();
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);

    const Text texts[] = {
        {"kanji", kKanji},
        {"latin", QStringLiteral("Quick brown fox, 0123456789 @#&%")},
        {"mixed", QString::fromUtf8("図面 ABC-12 鬱蒼 gjpqy ÅÉ")},
        {"long", QString(kKanji).repeated(3)},
        {"short", QString::fromUtf8("字")},
    };
    const int sizes[] = {8, 24, 60, 144};
    bool ok = true;
    for (const bool fit : {false, true}) {
        QSettings().clear();
        QuietServices services;
        lw::QtForm1View form(services);
        form.load({});
        form.show();
        if (!QTest::qWaitForWindowExposed(&form)) {
            std::fprintf(stderr, "window not exposed\n");
            return 1;
        }
        auto* preview = form.findChild<lw::PreviewBox*>(QStringLiteral("picSmpl"));
        auto* size = form.findChild<QLineEdit*>(QStringLiteral("txtSize"));
        auto* input = form.findChild<QLineEdit*>(QStringLiteral("txtInput"));
        if (!preview || !size || !input) {
            std::fprintf(stderr, "controls not found\n");
            return 1;
        }
        if (fit)
            for (QAction* action : preview->actions())
                if (action->isCheckable())
                    action->setChecked(true);
        for (const int points : sizes) {
            size->setText(QString::number(points));
            for (const Text& t : texts) {
                input->setText(t.text);
                input->setFocus();
                input->end(false);
                QCoreApplication::processEvents();
                const QString stem =
                    QStringLiteral("%1/%2-%3-%4").arg(folder, QLatin1String(t.name)).arg(points).arg(fit ? "fit" : "own");
                const auto shoot = [&](const char* step) {
                    QCoreApplication::processEvents();
                    ok &= save(preview->image(), stem + QLatin1String("-") + QLatin1String(step) + ".png");
                    ok &= save(preview->grab().toImage(), stem + QLatin1String("-") + QLatin1String(step) + "-box.png");
                };
                QTest::sendKeyEvent(QTest::Click, input, Qt::Key_unknown, QString(QChar(0x5B57)), {});
                shoot("typed");
                QTest::keyClick(input, Qt::Key_Backspace);
                shoot("back");
                QTest::keyClick(input, Qt::Key_Home);
                QTest::sendKeyEvent(QTest::Click, input, Qt::Key_unknown, QStringLiteral("W"), {});
                shoot("front");
                QTest::keyClick(input, Qt::Key_Backspace);
                QTest::keyClick(input, Qt::Key_Delete);
                shoot("cut");
            }
        }
    }
    return ok ? 0 : 1;
}
