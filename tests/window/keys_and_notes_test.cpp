// The Qt window's keys and quiet lines, driven by real key events: Enter is
// OK and Escape Cancel, notes and tips fit the window, the text style dialog
// shows the font dialog's bold and takes millimetres.

#include "stub_services.hpp"
#include "form/form_design.hpp"
#include "window/qt/caption_translator.hpp"
#include "window/qt/form1_view.hpp"

#include <QCheckBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolTip>

#include <cmath>
#include <functional>

using lw::QtForm1View;

namespace {

template <class T>
T* child(QtForm1View& form, const char* name)
{
    T* widget = form.findChild<T*>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}

struct Window {
    StubServices services;
    QtForm1View form{services};
    explicit Window(const std::vector<std::string>& words = {})
    {
        form.load(words);
        form.show();
        form.activateWindow();
        if (!QTest::qWaitForWindowActive(&form))
            qFatal("window not active");
    }
};

// Runs `act` on the text style dialog once it is up, then accepts it.
void whenStyleDialogOpens(QTimer& poll, const std::function<void(QDialog*)>& act)
{
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&poll, act] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog->objectName() != QLatin1String("textStyleDialog"))
            return;
        poll.stop();
        act(dialog);
        dialog->accept();
    });
    poll.start();
}

} // namespace

class KeysAndNotesTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QSettings().remove(QStringLiteral("text")); }
    void cleanupTestCase() { QSettings().remove(QStringLiteral("text")); }

    // In mode JW, OK writes the output and ends; Cancel ends with nothing
    // written. Enter in the size and angle boxes only ends their edit.
    void enterIsOkAndEscapeCancel_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("ends");
        QTest::addColumn<bool>("written");
        QTest::newRow("Enter in the text") << "txtInput" << int(Qt::Key_Return) << true << true;
        QTest::newRow("keypad Enter in the text") << "txtInput" << int(Qt::Key_Enter) << true << true;
        QTest::newRow("Enter on the angle slider") << "sldAngle" << int(Qt::Key_Return) << true << true;
        QTest::newRow("Enter on OK") << "cmdOK" << int(Qt::Key_Return) << true << true;
        QTest::newRow("Enter on Cancel") << "cmdCancel" << int(Qt::Key_Return) << true << false;
        QTest::newRow("Enter in the size box") << "txtSize" << int(Qt::Key_Return) << false << false;
        QTest::newRow("Enter in the angle box") << "txtAngle" << int(Qt::Key_Return) << false << false;
        QTest::newRow("Escape in the text") << "txtInput" << int(Qt::Key_Escape) << true << false;
        QTest::newRow("Escape in the size box") << "txtSize" << int(Qt::Key_Escape) << true << false;
        QTest::newRow("Escape on OK") << "cmdOK" << int(Qt::Key_Escape) << true << false;
    }
    void enterIsOkAndEscapeCancel()
    {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(bool, ends);
        QFETCH(bool, written);
        QTemporaryDir dir;
        const QString command = dir.filePath("cmd.txt"), output = dir.filePath("out.txt");
        QFile file(command);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("hp1 0 0\r\nhs 1 1 1\r\nlg1\r\n");
        file.close();
        Window w({"JW", command.toStdString(), output.toStdString()});
        QWidget* control = child<QWidget>(w.form, focus.toLatin1().constData());
        control->setFocus();
        QTRY_VERIFY(control->hasFocus());
        QTest::keyClick(control, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QCOMPARE(w.services.endings, ends ? std::vector<int>{0} : std::vector<int>{});
        QCOMPARE(QFile::exists(output), written);
    }

    // The preview's tip breaks into lines within the window, losing no word.
    void tipsWrapToTheWindowsWidth()
    {
        Window w;
        const QString tip = child<QWidget>(w.form, "picSmpl")->toolTip();
        const QStringList lines = tip.split(QLatin1Char('\n'));
        QVERIFY(lines.size() > 1);
        const QFontMetrics metrics(QToolTip::font());
        for (const QString& line : lines)
            QVERIFY2(metrics.horizontalAdvance(line) <= w.form.width(), qPrintable(line));
        QString joined = lines.join(QString()), whole = lw::captionText(lw::kPreviewTip);
        joined.remove(QLatin1Char(' '));
        whole.remove(QLatin1Char(' '));
        QCOMPARE(joined, whole);
    }

    // A remembered style is said under the preview; the design's font
    // (F11) clears it.
    void theRememberedStyleIsSaidUntilTheDesignsFont()
    {
        QSettings().setValue("text/width", QStringLiteral("80"));
        Window w;
        auto* note = child<QLabel>(w.form, "lblWindowNote");
        QVERIFY(note->isVisible());
        QVERIFY2(note->text().contains(QStringLiteral("80")), qPrintable(note->text()));
        QVERIFY(note->geometry().bottom() < child<QWidget>(w.form, "cmdOK")->geometry().top());
        QVERIFY(note->geometry().top() > child<QWidget>(w.form, "picSmpl")->geometry().bottom());
        QTest::keyClick(child<QLineEdit>(w.form, "txtInput"), Qt::Key_F11);
        QVERIFY(!note->isVisible());
        QCOMPARE(w.form.form().textStyle().widthPercent, 100);
    }

    // The font dialog's bold is the style dialog's; the spacing box takes
    // millimetres (0.5 mm is 1.417... pt, shown to its two decimals).
    void theStyleDialogShowsTheFontsBoldAndTakesMillimetres()
    {
        Window w;
        w.services.answerFont = [](lw::WindowFont f) {
            f.bold = true;
            return f;
        };
        QTest::mouseClick(child<QPushButton>(w.form, "cmdFont"), Qt::LeftButton);
        bool boldShown = false;
        QTimer poll;
        whenStyleDialogOpens(poll, [&](QDialog* dialog) {
            boldShown = dialog->findChild<QCheckBox*>(QStringLiteral("chkBold"))->isChecked();
            auto* spacing = dialog->findChild<QDoubleSpinBox*>(QStringLiteral("spnSpacing"));
            spacing->setFocus();
            QTest::keyClick(spacing, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(spacing, QStringLiteral("0.5mm"));
            spacing->interpretText();
        });
        const int before = w.form.form().redrawCount();
        QTest::keyClick(child<QLineEdit>(w.form, "txtInput"), Qt::Key_F9);
        QTRY_COMPARE(w.form.form().redrawCount(), before + 1);
        QVERIFY(boldShown);
        QCOMPARE(w.form.form().textStyle().spacing, std::round(0.5 / 25.4 * 72 * 100) / 100);
        QVERIFY(w.form.form().textStyle().bold);
    }
};

LW_WINDOW_TEST_MAIN(KeysAndNotesTest)
#include "keys_and_notes_test.moc"
