// The window on its own, through Qt's real save dialog: OK opens it, the
// file chosen is written at the format and precision chosen, the window
// stays; Cancel writes nothing; the choice comes back on the next start.

#include "stub_services.hpp"
#include "window/qt/form1_view.hpp"
#include "form/text_settings.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <functional>

using lw::QtForm1View;

namespace {

struct Window {
    StubServices services;
    QtForm1View form{services};
    Window()
    {
        form.load({});
        form.show();
        form.activateWindow();
        if (!QTest::qWaitForWindowActive(&form))
            qFatal("window not active");
    }
    template <class T>
    T* child(const char* name)
    {
        T* widget = form.findChild<T*>(QString::fromLatin1(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
};

// Picks the combo box's entry `index` from the keyboard, as a person would.
void pick(QComboBox* combo, int index)
{
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Home);
    for (int i = 0; i < index; ++i)
        QTest::keyClick(combo, Qt::Key_Down);
}

struct Seen {
    bool opened = false;
    QString directory;
    QString fileName;
    QString filter;
    QString precision;
};

// Clicks OK and, once the save dialog shows, notes how it opened and lets
// `act` work in it.
Seen clickOkAndUseDialog(Window& w, const std::function<void(QFileDialog*)>& act)
{
    Seen seen;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll.stop();
        seen.opened = true;
        seen.directory = dialog->directory().absolutePath();
        seen.fileName = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
        seen.filter = dialog->selectedNameFilter();
        seen.precision = dialog->findChild<QComboBox*>(QStringLiteral("precision"))->currentText();
        act(dialog);
    });
    poll.start();
    QTest::mouseClick(w.child<QPushButton>("cmdOK"), Qt::LeftButton);
    return seen;
}

// Types `path` as the file name, picks the format and precision, and clicks Save.
std::function<void(QFileDialog*)> saveAs(const QString& path, int format, int precision)
{
    return [=](QFileDialog* dialog) {
        pick(dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo")), format);
        pick(dialog->findChild<QComboBox*>(QStringLiteral("precision")), precision);
        // The name is set, not typed: the name box's completion list opens
        // whenever the folder's listing arrives, which under a slow build
        // can be after the typing and would take the click on Save.
        dialog->selectFile(path);
        auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        QTest::mouseClick(buttons->button(QDialogButtonBox::Save), Qt::LeftButton);
    };
}

void cancel(QFileDialog* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); }

// The DXF and SVG choices as the dialog shows them.
struct CadSeen {
    bool merge = false;
    bool curves = false;
    double offset = 0;
    QString anchor, mirror;
    bool enabled = false;
    bool operator==(const CadSeen&) const = default;
};

CadSeen cadSeen(QFileDialog* dialog)
{
    auto* offset = dialog->findChild<QDoubleSpinBox*>(QStringLiteral("offset"));
    return {dialog->findChild<QCheckBox*>(QStringLiteral("merge"))->isChecked(),
            dialog->findChild<QCheckBox*>(QStringLiteral("curves"))->isChecked(), offset->value(),
            dialog->findChild<QComboBox*>(QStringLiteral("anchor"))->currentText(),
            dialog->findChild<QComboBox*>(QStringLiteral("mirror"))->currentText(), offset->isEnabled()};
}

// Unticks merging, ticks exact curves, types an offset of 0.25 mm, picks the anchor and mirror
// entries, then saves as `path` in the format's entry.
std::function<void(QFileDialog*)> chooseCadAndSave(CadSeen& opened, const QString& path, int format, int anchor,
                                                   int mirror)
{
    return [&opened, path, format, anchor, mirror](QFileDialog* dialog) {
        opened = cadSeen(dialog);
        auto* merge = dialog->findChild<QCheckBox*>(QStringLiteral("merge"));
        merge->setFocus();
        QTest::keyClick(merge, Qt::Key_Space);
        auto* curves = dialog->findChild<QCheckBox*>(QStringLiteral("curves"));
        curves->setFocus();
        QTest::keyClick(curves, Qt::Key_Space);
        auto* offset = dialog->findChild<QDoubleSpinBox*>(QStringLiteral("offset"));
        offset->setFocus();
        offset->selectAll();
        QTest::keyClicks(offset, offset->locale().toString(0.25, 'f', 2));
        pick(dialog->findChild<QComboBox*>(QStringLiteral("anchor")), anchor);
        pick(dialog->findChild<QComboBox*>(QStringLiteral("mirror")), mirror);
        saveAs(path, format, 2)(dialog);
    };
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The columns of `image` that hold anything but its background (pixel 0, 0):
// the ink's width in pixels, less one, as a drawing's extent counts it.
int inkWidth(const QImage& image)
{
    const QRgb background = image.pixel(0, 0);
    int left = image.width(), right = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background)
                left = std::min(left, x), right = std::max(right, x);
    return right - left;
}

// The width of a DXF's polylines in millimetres as ezdxf reads it; -1 when it cannot.
double dxfWidthMm(const QString& path)
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import ezdxf, sys\n"
                                 "xs = [p[0] for e in ezdxf.readfile(sys.argv[1]).modelspace().query('LWPOLYLINE') "
                                 "for p in e.get_points('xy')]\nprint(max(xs) - min(xs))"),
                  path});
    if (!python.waitForFinished(60000) || python.exitCode() != 0)
        return -1;
    bool ok = false;
    const double mm = python.readAllStandardOutput().trimmed().toDouble(&ok);
    return ok ? mm : -1;
}

} // namespace

class SaveTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // A scratch place for the settings, never the user's own.
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(QStringLiteral("LetterwireTest"));
        QCoreApplication::setApplicationName(QStringLiteral("LetterwireTest"));
    }
    void init() { QSettings().clear(); }
    void cleanupTestCase() { QSettings().clear(); }

    void okWritesTheChosenFormatAtEachPrecisionAndStays_data()
    {
        QTest::addColumn<int>("format"); // the file type's entry
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<QByteArray>("point"); // what each point of the outline adds
        QTest::newRow("DXF") << 0 << "dxf" << QByteArray("  0\nSECTION\n  2\nHEADER") << QByteArray("\n 10\n");
        QTest::newRow("SVG") << 1 << "svg" << QByteArray("<?xml") << QByteArray(",");
        QTest::newRow("JW point lines") << 2 << "txt" << QByteArray(" ") << QByteArray(" \r\n");
    }
    void okWritesTheChosenFormatAtEachPrecisionAndStays()
    {
        QFETCH(int, format);
        QFETCH(QString, suffix);
        QFETCH(QByteArray, start);
        QFETCH(QByteArray, point);
        QTemporaryDir dir;
        Window w;
        QTest::keyClicks(w.child<QLineEdit>("txtInput"), "O");
        const auto preview = w.form.form().capturedOutline().pathPoints;
        qsizetype coarserPoints = 0;
        const QStringList precisions{QString::fromUtf8("従来 (0.26 mm)"), "0.1 mm", "0.01 mm"};
        for (int precision = 0; precision < 3; ++precision) {
            const QString name = QStringLiteral("at %1").arg(precision);
            const Seen seen = clickOkAndUseDialog(w, saveAs(dir.filePath(name), format, precision));
            QVERIFY(seen.opened);
            if (precision > 0) { // the last choice, kept for this one
                QCOMPARE(seen.directory, QDir(dir.path()).absolutePath());
                QCOMPARE(seen.precision, precisions[precision - 1]);
                QVERIFY2(seen.fileName.endsWith("." + suffix), qPrintable(seen.fileName));
            }
            const QByteArray written = contents(dir.filePath(name + "." + suffix));
            QVERIFY2(written.startsWith(start), written.left(40).constData());
            const qsizetype points = written.count(point);
            QVERIFY2(points > coarserPoints, qPrintable(name)); // more points on a finer grid
            coarserPoints = points;
        }
        QVERIFY(w.services.endings.empty());
        QVERIFY(w.services.messages.empty());
        QVERIFY(w.form.isVisible());
        QCOMPARE(w.form.form().capturedOutline().pathPoints, preview);
    }


    // A typed name with a dot of its own keeps the file type's extension;
    // one with an extension of ours is written as typed, in its format.
    void aNameWithADotKeepsTheTypesExtension_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("0.1 as DXF") << "0.1" << 0 << "0.1.dxf" << QByteArray("  0\nSECTION");
        QTest::newRow("v1.2 as SVG") << "v1.2" << 1 << "v1.2.svg" << QByteArray("<?xml");
        QTest::newRow("a.svg as DXF") << "a.svg" << 0 << "a.svg" << QByteArray("<?xml");
    }
    void aNameWithADotKeepsTheTypesExtension()
    {
        QFETCH(QString, typed);
        QFETCH(int, format);
        QFETCH(QString, written);
        QFETCH(QByteArray, start);
        QTemporaryDir dir;
        Window w;
        const Seen seen = clickOkAndUseDialog(w, saveAs(dir.filePath(typed), format, 2));
        QVERIFY(seen.opened);
        QVERIFY2(contents(dir.filePath(written)).startsWith(start), qPrintable(written));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{written});
        QVERIFY(w.services.messages.empty());
    }

    // In the window's own mode the preview shows what OK saves: a styled
    // text is as wide in the preview as in the DXF it saves, within a pixel.
    void thePreviewIsAsWideAsTheSavedDrawing_data()
    {
        QTest::addColumn<int>("precision"); // the precision's entry
        QTest::addColumn<double>("spacing");
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("bold");
        QTest::newRow("0.01 mm, narrow, bold, spaced") << 2 << 1.5 << 80 << true;
        QTest::newRow("0.01 mm, wide, closer") << 2 << -0.5 << 130 << false;
        QTest::newRow("0.1 mm, narrowest bold") << 1 << 0.0 << 57 << true;
    }
    void thePreviewIsAsWideAsTheSavedDrawing()
    {
        QFETCH(int, precision);
        QFETCH(double, spacing);
        QFETCH(int, width);
        QFETCH(bool, bold);
        QTemporaryDir dir;
        {
            QSettings settings;
            settings.beginGroup(QStringLiteral("text"));
            lw::TextSettings styled;
            styled.style = {spacing, width, bold};
            lw::encodeTextSettings(styled, [&](std::string_view name, std::string_view value) {
                settings.setValue(QString::fromLatin1(name.data(), qsizetype(name.size())),
                                  QString::fromUtf8(value.data(), qsizetype(value.size())));
            });
        }
        Window w;
        w.child<QLineEdit>("txtInput")->setText(QString::fromUtf8("WIDE テキストAg"));
        // The first save takes the precision; the preview shows it from then on.
        QVERIFY(clickOkAndUseDialog(w, saveAs(dir.filePath("first"), 0, precision)).opened);
        QVERIFY(clickOkAndUseDialog(w, saveAs(dir.filePath("styled"), 0, precision)).opened);
        QVERIFY(w.services.messages.empty());
        const double saved = dxfWidthMm(dir.filePath("styled.dxf"));
        QVERIFY(saved > 0);
        const double shown = inkWidth(w.form.previewImage());
        QVERIFY2(std::abs(shown - saved * 96 / 25.4) <= 1.0,
                 qPrintable(QStringLiteral("preview %1 px, DXF %2 px").arg(shown).arg(saved * 96 / 25.4)));
    }

    void cancelWritesNothing()
    {
        QTemporaryDir dir;
        Window w;
        const Seen seen = clickOkAndUseDialog(w, cancel);
        QVERIFY(seen.opened);
        QVERIFY(QDir(dir.path()).isEmpty());
        QVERIFY(QSettings().childGroups().isEmpty());
        QVERIFY(w.services.endings.empty());
        QVERIFY(w.form.isVisible());
        // Without a choice remembered, the dialog offers a DXF at 0.01 mm.
        QCOMPARE(seen.fileName, QString::fromUtf8("編集テキスト.dxf"));
        QVERIFY2(seen.filter.endsWith("(*.dxf)"), qPrintable(seen.filter));
        QCOMPARE(seen.precision, QString("0.01 mm"));
    }

    void theChoiceComesBackOnTheNextStart()
    {
        QTemporaryDir dir;
        {
            Window first;
            QVERIFY(clickOkAndUseDialog(first, saveAs(dir.filePath("label"), 1, 1)).opened);
            QVERIFY(QFile::exists(dir.filePath("label.svg")));
        }
        Window next;
        const Seen seen = clickOkAndUseDialog(next, cancel);
        QVERIFY(seen.opened);
        QCOMPARE(seen.directory, QDir(dir.path()).absolutePath());
        QCOMPARE(seen.fileName, QString::fromUtf8("編集テキスト.svg"));
        QVERIFY2(seen.filter.endsWith("(*.svg)"), qPrintable(seen.filter));
        QCOMPARE(seen.precision, QString("0.1 mm"));
    }

    void theCadChoicesReachTheFileAndComeBack()
    {
        QTemporaryDir dir;
        QByteArray design;
        {
            Window w;
            QVERIFY(clickOkAndUseDialog(w, saveAs(dir.filePath("design"), 0, 2)).opened);
            design = contents(dir.filePath("design.dxf"));
            CadSeen opened;
            // Entry 7 is the centre, entry 1 the mirror left to right.
            QVERIFY(clickOkAndUseDialog(w, chooseCadAndSave(opened, dir.filePath("chosen"), 0, 7, 1)).opened);
            QCOMPARE(opened, (CadSeen{true, false, 0, QStringLiteral("ベースライン左"), QStringLiteral("なし"), true}));
        }
        const QByteArray chosen = contents(dir.filePath("chosen.dxf"));
        QVERIFY(chosen.startsWith("  0\nSECTION"));
        QVERIFY(chosen != design);
        QSettings settings;
        settings.beginGroup(QStringLiteral("save"));
        QCOMPARE(settings.value("merge").toString(), QString("0"));
        QCOMPARE(settings.value("offset").toString(), QString("0.25"));
        QCOMPARE(settings.value("anchor").toString(), QString("centre"));
        QCOMPARE(settings.value("mirror").toString(), QString("x"));
        QCOMPARE(settings.value("curves").toString(), QString("1"));

        Window next;
        CadSeen back;
        QVERIFY(clickOkAndUseDialog(next, [&](QFileDialog* dialog) {
                    back = cadSeen(dialog);
                    cancel(dialog);
                }).opened);
        QCOMPARE(back, (CadSeen{false, true, 0.25, QStringLiteral("中央"), QStringLiteral("左右 (x)"), true}));
    }

    // The stencil's boxes: the bridges' count waits for a width; both are
    // stored with the other choices and open the next dialog.
    void theStencilChoiceIsStoredAndComesBack()
    {
        QTemporaryDir dir;
        struct StencilSeen {
            QString width, bridges;
            bool bridgesEnabled = false;
            bool operator==(const StencilSeen&) const = default;
        };
        const auto stencilSeen = [](QFileDialog* dialog) {
            auto* bridges = dialog->findChild<QComboBox*>(QStringLiteral("stencilBridges"));
            return StencilSeen{dialog->findChild<QComboBox*>(QStringLiteral("stencil"))->currentText(),
                               bridges->currentText(), bridges->isEnabled()};
        };
        StencilSeen opened, picked;
        {
            Window w;
            QVERIFY(clickOkAndUseDialog(w, [&](QFileDialog* dialog) {
                        opened = stencilSeen(dialog);
                        // Entry 3 is 0.5 mm, entry 1 two bridges.
                        pick(dialog->findChild<QComboBox*>(QStringLiteral("stencil")), 3);
                        pick(dialog->findChild<QComboBox*>(QStringLiteral("stencilBridges")), 1);
                        picked = stencilSeen(dialog);
                        saveAs(dir.filePath("stencil"), 0, 2)(dialog);
                    }).opened);
        }
        QCOMPARE(opened, (StencilSeen{QStringLiteral("なし"), QStringLiteral("1"), false}));
        QCOMPARE(picked, (StencilSeen{QStringLiteral("0.5 mm"), QStringLiteral("2"), true}));
        QVERIFY(contents(dir.filePath("stencil.dxf")).startsWith("  0\nSECTION"));
        {
            QSettings settings;
            settings.beginGroup(QStringLiteral("save"));
            QCOMPARE(settings.value("stencil").toString(), QString("0.5"));
            QCOMPARE(settings.value("stencil-bridges").toString(), QString("2"));
        }
        Window next;
        StencilSeen back;
        QVERIFY(clickOkAndUseDialog(next, [&](QFileDialog* dialog) {
                    back = stencilSeen(dialog);
                    cancel(dialog);
                }).opened);
        QCOMPARE(back, picked);
    }

    // A hand-edited store: each bad value is the design's, nothing is said,
    // and the good ones stay.
    void corruptCadChoicesFallBackSilently()
    {
        {
            QSettings settings;
            settings.beginGroup(QStringLiteral("save"));
            settings.setValue("format", "svg");
            settings.setValue("merge", "maybe");
            settings.setValue("curves", "1");
            settings.setValue("offset", "1e400");
            settings.setValue("anchor", "nowhere");
            settings.setValue("mirror", "y");
        }
        Window w;
        CadSeen seen;
        QVERIFY(clickOkAndUseDialog(w, [&](QFileDialog* dialog) {
                    seen = cadSeen(dialog);
                    cancel(dialog);
                }).opened);
        QCOMPARE(seen, (CadSeen{true, true, 0, QStringLiteral("ベースライン左"), QStringLiteral("上下 (y)"), true}));
        QVERIFY(w.services.messages.empty());
    }

    // PDF and HPGL are file types of their own, each with its choices,
    // which idle for the other formats, reach the file and are remembered.
    void thePdfAndHpglChoicesReachTheFileAndComeBack()
    {
        QTemporaryDir dir;
        QList<bool> pdfOnly;
        {
            Window w;
            QVERIFY(clickOkAndUseDialog(w, [&](QFileDialog* dialog) {
                        auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
                        auto* page = dialog->findChild<QComboBox*>(QStringLiteral("pdfPage"));
                        for (int format : {0, 3, 4, 3}) {
                            pick(types, format);
                            pdfOnly << page->isEnabled();
                        }
                        // Cut lines with a 5 mm margin.
                        pick(dialog->findChild<QComboBox*>(QStringLiteral("pdfPaint")), 1);
                        pick(dialog->findChild<QComboBox*>(QStringLiteral("pdfMargin")), 1);
                        saveAs(dir.filePath("cut"), 3, 2)(dialog);
                    }).opened);
            QVERIFY(clickOkAndUseDialog(w, [&](QFileDialog* dialog) {
                        pick(dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo")), 4);
                        pick(dialog->findChild<QComboBox*>(QStringLiteral("hpglOvercut")), 2);
                        saveAs(dir.filePath("plot"), 4, 2)(dialog);
                    }).opened);
        }
        QCOMPARE(pdfOnly, (QList<bool>{false, true, false, true}));
        const QByteArray pdf = contents(dir.filePath("cut.pdf"));
        QVERIFY(pdf.startsWith("%PDF-1.4") && pdf.contains("1 0 0 RG") && pdf.contains("\nS\n"));
        QVERIFY(contents(dir.filePath("plot.plt")).startsWith("IN;SP1;"));
        QSettings settings;
        settings.beginGroup(QStringLiteral("save"));
        QCOMPARE(settings.value("format").toString(), QString("hpgl"));
        QCOMPARE(settings.value("pdf-style").toString(), QString("cut"));
        QCOMPARE(settings.value("pdf-margin").toString(), QString("5"));
        QCOMPARE(settings.value("hpgl-overcut").toString(), QString("0.5"));

        Window next;
        QString paint, margin, overcut;
        QVERIFY(clickOkAndUseDialog(next, [&](QFileDialog* dialog) {
                    paint = dialog->findChild<QComboBox*>(QStringLiteral("pdfPaint"))->currentText();
                    margin = dialog->findChild<QComboBox*>(QStringLiteral("pdfMargin"))->currentText();
                    overcut = dialog->findChild<QComboBox*>(QStringLiteral("hpglOvercut"))->currentText();
                    cancel(dialog);
                }).opened);
        QCOMPARE(paint, QStringLiteral("カット線 (赤の細線)"));
        QCOMPARE(margin, QStringLiteral("5 mm"));
        QCOMPARE(overcut, QStringLiteral("0.5 mm"));
    }

    // JW point lines take none of the choices: they idle while that file
    // type is chosen and wake with DXF or SVG.
    void theCadChoicesIdleForJwPoints()
    {
        Window w;
        QList<bool> enabled;
        QVERIFY(clickOkAndUseDialog(w, [&](QFileDialog* dialog) {
                    auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
                    for (int format : {2, 1, 2, 0}) {
                        pick(types, format);
                        enabled << cadSeen(dialog).enabled;
                    }
                    cancel(dialog);
                }).opened);
        QCOMPARE(enabled, (QList<bool>{false, true, false, true}));
    }
};

LW_WINDOW_TEST_MAIN(SaveTest)
#include "save_test.moc"
