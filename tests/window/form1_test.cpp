// Form1 driven as a person would: real key and mouse events on its controls,
// redraws counted by the window's probe.

#include "stub_services.hpp"
#include "window/form1.hpp"
#include "window/guard.hpp"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <memory>

using lw::Form1;

namespace {

template <class T>
T* child(Form1& form, const char* name)
{
    T* widget = form.findChild<T*>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}

// Selects the whole text and types over it, one key at a time.
void typeOver(QLineEdit* box, const QString& text)
{
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
}

// A point on the slider's track, near its left or right end.
QPoint onTrack(QSlider* slider, bool right)
{
    QStyleOptionSlider options;
    options.initFrom(slider);
    options.subControls = QStyle::SC_All;
    options.orientation = slider->orientation();
    options.minimum = slider->minimum();
    options.maximum = slider->maximum();
    options.sliderPosition = options.sliderValue = slider->value();
    options.tickPosition = slider->tickPosition();
    options.tickInterval = slider->tickInterval();
    const QRect groove = slider->style()->subControlRect(QStyle::CC_Slider, &options,
                                                         QStyle::SC_SliderGroove, slider);
    return {right ? groove.right() - 1 : groove.left() + 1, groove.center().y()};
}

int outlineHeight(const Form1& form) { return -form.capturedOutline().logFont.lfHeight; }

// The height a size in points gives on this 96 dpi screen.
int heightFor(double points) { return int(std::lround(points * 96.0 / 72.0)); }

struct Window {
    StubServices services;
    Form1 form{services};
    Window()
    {
        form.load("");
        form.show();
        form.activateWindow();
        if (!QTest::qWaitForWindowActive(&form))
            qFatal("window not active");
    }
};

} // namespace

class Form1Test : public QObject {
    Q_OBJECT
private slots:
    void design_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("place");
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("shown");
        auto row = [](const char* name, const char* caption, QRect twips, double points, bool shown) {
            QTest::newRow(name) << name << QString::fromUtf8(caption)
                                << QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15)
                                << points << shown;
        };
        row("txtInput", "編集テキスト", {120, 120, 7215, 855}, 24, true);
        row("Label1", "サイズ", {240, 1200, 735, 255}, 9.75, true);
        row("txtSize", "24", {1560, 1200, 495, 285}, 9.75, true);
        row("Label2", "傾き", {3360, 1200, 735, 255}, 9.75, true);
        row("txtAngle", "0", {4560, 1200, 495, 285}, 9.75, true);
        row("cmdFont", "フォント...", {5880, 1200, 1215, 375}, 9, true);
        row("sldSize", "", {960, 1560, 1695, 255}, -1, true);
        row("sldAngle", "", {3960, 1560, 1695, 255}, -1, true);
        row("picSmpl", "", {240, 2040, 6975, 4575}, 72, true);
        row("cmdDraw", "Draw", {720, 4920, 1095, 375}, 9, false);
        row("Command2", "Wit", {3480, 4920, 1095, 375}, 9, false);
        row("Command3", "Draw", {4920, 4920, 1095, 375}, 9, false);
        row("cmdOK", "OK", {1560, 6840, 1095, 375}, 9, true);
        row("cmdCancel", "キャンセル", {4080, 6840, 1095, 375}, 9, true);
    }
    void design()
    {
        Window w;
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QRect, place);
        QFETCH(bool, shown);
        QWidget* control = child<QWidget>(w.form, name.toLatin1().constData());
        QCOMPARE(control->geometry(), place);
        QCOMPARE(control->isVisible(), shown);
        QFETCH(double, points);
        if (points > 0)
            QCOMPARE(control->font().pointSizeF(), points);
        QString text;
        if (auto* box = qobject_cast<QLineEdit*>(control))
            text = box->text();
        else if (auto* label = qobject_cast<QLabel*>(control))
            text = label->text();
        else if (auto* button = qobject_cast<QPushButton*>(control))
            text = button->text();
        QCOMPARE(text, caption);
    }

    void windowAndPreview()
    {
        Window w;
        QCOMPARE(w.form.windowTitle(), QString::fromUtf8("アウトラインフォント書きこみ"));
        QCOMPARE(w.form.size(), QSize(501, 494));
        QCOMPARE(w.form.twipsPerPixelX(), 15.0);
        QCOMPARE(child<QFrame>(w.form, "picSmpl")->contentsRect().size(), QSize(461, 301));
        QCOMPARE(w.form.previewImage().size(), QSize(461, 301));
        auto* input = child<QLineEdit>(w.form, "txtInput");
        QCOMPARE(input->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0x80));
        QCOMPARE(QFontInfo(input->font()).family(), QString("IPAPGothic"));
    }

    void tabOrderAndSelectAll()
    {
        Window w;
        auto* input = child<QLineEdit>(w.form, "txtInput");
        // The first control that takes the focus gets it at the start, all selected.
        QCOMPARE(QApplication::focusWidget(), input);
        QCOMPARE(input->selectedText(), input->text());
        QStringList visited;
        for (int i = 0; i < 8; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, (QStringList{"cmdFont", "sldAngle", "cmdOK", "txtAngle", "txtSize", "sldSize",
                                       "cmdCancel", "txtInput"}));
        QCOMPARE(input->selectedText(), QString::fromUtf8("編集テキスト"));
        QTest::keyClick(input, Qt::Key_Tab);
        QVERIFY(input->selectedText().isEmpty());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(input->selectedText(), input->text());
        const int before = w.form.redrawCount();
        QTest::keyClicks(input, "A");
        QCOMPARE(input->text(), QString("A"));
        QCOMPARE(w.form.redrawCount(), before + 1);
    }

    void typedSizeKeepsSliderInRange_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("position");
        QTest::newRow("30") << "30" << 30;
        QTest::newRow("half to even down") << "12.5" << 12;
        QTest::newRow("half to even up") << "13.5" << 14;
        QTest::newRow("comma ends the number") << "3,5" << 3;
        QTest::newRow("hexadecimal") << "&H10" << 16;
        QTest::newRow("zero below range") << "0" << 1;
        QTest::newRow("letters") << "abc" << 1;
        QTest::newRow("lone minus") << "-" << 1;
        QTest::newRow("negative") << "-5" << 1;
        QTest::newRow("above range") << "200" << 144;
        QTest::newRow("past any integer") << "1E20" << 144;
        QTest::newRow("past any integer, negative") << "-1E20" << 1;
        QTest::newRow("past any double") << "1E400" << 144;
    }
    void typedSizeKeepsSliderInRange()
    {
        Window w;
        QFETCH(QString, typed);
        QFETCH(int, position);
        auto* box = child<QLineEdit>(w.form, "txtSize");
        const int before = w.form.redrawCount();
        typeOver(box, typed);
        QCOMPARE(box->text(), typed);
        QCOMPARE(w.form.redrawCount(), before + int(typed.size())); // one per keystroke
        QCOMPARE(child<QSlider>(w.form, "sldSize")->value(), position);
        QCOMPARE(w.form.windowFont().size, float(position));
        QCOMPARE(outlineHeight(w.form), heightFor(position));
        QVERIFY(w.services.endings.empty());
    }

    void typedAngleKeepsSliderInRange_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("angle");
        QTest::newRow("blank ignored") << "1 2" << 12;
        QTest::newRow("letters end the number") << "45abc" << 45;
        QTest::newRow("half to even") << "2.5" << 2;
        QTest::newRow("cleared") << "" << 0;
        QTest::newRow("negative") << "-10" << 0;
        QTest::newRow("above range") << "400" << 360;
        QTest::newRow("past any integer") << "1E20" << 360;
    }
    void typedAngleKeepsSliderInRange()
    {
        Window w;
        QFETCH(QString, typed);
        QFETCH(int, angle);
        auto* box = child<QLineEdit>(w.form, "txtAngle");
        typeOver(box, "90");
        typeOver(box, typed);
        QCOMPARE(box->text(), typed);
        QCOMPARE(child<QSlider>(w.form, "sldAngle")->value(), angle);
        QCOMPARE(w.form.capturedOutline().logFont.lfEscapement, angle * 10);
    }

    void sliderClickWritesBoxAndRedrawsTwice_data()
    {
        QTest::addColumn<QString>("slider");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<int>("position");
        QTest::newRow("angle track right of the handle") << "sldAngle" << "txtAngle" << "45" << "right" << 90;
        QTest::newRow("size track left of the handle") << "sldSize" << "txtSize" << "24" << "left" << 14;
        QTest::newRow("angle End key at the end") << "sldAngle" << "txtAngle" << "360" << "end" << 360;
        QTest::newRow("size arrow key") << "sldSize" << "txtSize" << "24" << "arrow" << 26;
        QTest::newRow("size drag counts once") << "sldSize" << "txtSize" << "1" << "drag" << 144;
    }
    void sliderClickWritesBoxAndRedrawsTwice()
    {
        Window w;
        QFETCH(QString, gesture);
        QFETCH(int, position);
        QFETCH(QString, slider);
        QFETCH(QString, box);
        QFETCH(QString, start);
        auto* sliderControl = child<QSlider>(w.form, slider.toLatin1().constData());
        auto* boxControl = child<QLineEdit>(w.form, box.toLatin1().constData());
        typeOver(boxControl, start);
        const int before = w.form.redrawCount();
        const int middle = onTrack(sliderControl, false).y();
        if (gesture == "right")
            QTest::mouseClick(sliderControl, Qt::LeftButton, {}, onTrack(sliderControl, true));
        else if (gesture == "left")
            QTest::mouseClick(sliderControl, Qt::LeftButton, {}, onTrack(sliderControl, false));
        else if (gesture == "end")
            QTest::keyClick(sliderControl, Qt::Key_End);
        else if (gesture == "arrow")
            QTest::keyClick(sliderControl, Qt::Key_Right);
        else {
            QTest::mousePress(sliderControl, Qt::LeftButton, {}, QPoint(4, middle));
            for (int x = 10; x <= sliderControl->width(); x += 10)
                QTest::mouseMove(sliderControl, QPoint(x, middle));
            QTest::mouseRelease(sliderControl, Qt::LeftButton, {}, QPoint(sliderControl->width(), middle));
        }
        QCOMPARE(sliderControl->value(), position);
        QCOMPARE(boxControl->text(), QString::number(position));
        QCOMPARE(w.form.redrawCount(), before + 2);
        if (sliderControl->objectName() == "sldAngle")
            QCOMPARE(w.form.capturedOutline().logFont.lfEscapement, position * 10);
        else
            QCOMPARE(outlineHeight(w.form), heightFor(position));
    }

    void positionSetByProgramRunsNoHandler()
    {
        Window w;
        const int before = w.form.redrawCount();
        child<QSlider>(w.form, "sldAngle")->setValue(200);
        QCOMPARE(w.form.redrawCount(), before);
        QCOMPARE(child<QLineEdit>(w.form, "txtAngle")->text(), QString("0"));
    }

    void anyInputTextRedrawsOncePerChange_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("paste");
        QTest::newRow("empty") << "" << false;
        QTest::newRow("lone minus") << "-" << false;
        QTest::newRow("outside code page 932") << QString::fromUtf8("€😀Ω") << false;
        QTest::newRow("pasted lines") << QString::fromUtf8("一行目\n二行目\r\n") << true;
        QTest::newRow("long") << QString(2000, QChar(0x6F22)) << true;
    }
    void anyInputTextRedrawsOncePerChange()
    {
        Window w;
        QFETCH(QString, text);
        auto* input = child<QLineEdit>(w.form, "txtInput");
        input->setFocus();
        input->selectAll();
        int before = w.form.redrawCount();
        QFETCH(bool, paste);
        if (paste) {
            QGuiApplication::clipboard()->setText(text);
            QTest::keyClick(input, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(w.form.redrawCount(), before + 1);
        } else {
            QTest::keyClick(input, Qt::Key_Backspace);
            for (QChar c : text) {
                QTest::keyClick(input, c.toLatin1() ? c.toLatin1() : 'x'); // a key per character
                input->insert(QString(c));                                  // and the character itself
            }
            QVERIFY(w.form.redrawCount() > before);
            before = w.form.redrawCount();
            QTest::keyClicks(input, "ab");
            QCOMPARE(w.form.redrawCount(), before + 2);
        }
        QVERIFY(w.services.endings.empty());
        QVERIFY(w.form.capturedOutline().pointCount >= 0);
    }

    void fontDialogCancelRedrawsUnchanged()
    {
        Window w;
        const int before = w.form.redrawCount();
        const auto points = w.form.capturedOutline().pathPoints;
        QTest::mouseClick(child<QPushButton>(w.form, "cmdFont"), Qt::LeftButton);
        QCOMPARE(w.services.flags, std::vector<int>{3});
        QCOMPARE(w.services.presets.at(0).faceName, std::string(lw::design::kFaceName));
        QCOMPARE(w.services.presets.at(0).size, 24.0f);
        QCOMPARE(w.form.redrawCount(), before + 1);
        QCOMPARE(w.form.capturedOutline().pathPoints, points);
    }

    void anyOfferedFaceDrawsWithoutMessage_data()
    {
        QTest::addColumn<QString>("face");
        QTest::newRow("no such face") << "No Such Face";
        QTest::newRow("face without kanji") << "DejaVu Sans";
        QTest::newRow("another Japanese face") << "IPAMincho";
    }
    void anyOfferedFaceDrawsWithoutMessage()
    {
        Window w;
        QFETCH(QString, face);
        w.services.answerFont = [&](lw::WindowFont f) {
            f.faceName = face.toStdString();
            return f;
        };
        QTest::mouseClick(child<QPushButton>(w.form, "cmdFont"), Qt::LeftButton);
        QVERIFY(w.services.messages.empty());
        QCOMPARE(QString::fromStdString(w.form.windowFont().faceName), face);
        QVERIFY(w.form.capturedOutline().pointCount > 100);
    }

    void chosenSizeLeavesSizeBoxUntilNextTyping()
    {
        Window w;
        w.services.answerFont = [](lw::WindowFont f) {
            f.size = 36;
            f.bold = true;
            return f;
        };
        QTest::mouseClick(child<QPushButton>(w.form, "cmdFont"), Qt::LeftButton);
        QCOMPARE(w.form.windowFont().size, 36.0f);
        QCOMPARE(outlineHeight(w.form), heightFor(36));
        QCOMPARE(child<QLineEdit>(w.form, "txtSize")->text(), QString("24"));
        QCOMPARE(child<QSlider>(w.form, "sldSize")->value(), 24);
        QVERIFY(child<QLineEdit>(w.form, "txtInput")->font().bold());
        // The dialog opens with the current font each time.
        w.services.answerFont = [](const lw::WindowFont& preset) { return preset; };
        QTest::mouseClick(child<QPushButton>(w.form, "cmdFont"), Qt::LeftButton);
        QCOMPARE(w.services.presets.at(1).size, 36.0f);
        QVERIFY(w.services.presets.at(1).bold);
        typeOver(child<QLineEdit>(w.form, "txtSize"), "30");
        QCOMPARE(outlineHeight(w.form), heightFor(30));
    }

    void failingRedrawRestoresOnlyTheFaceName()
    {
        Window w;
        w.services.answerFont = [](lw::WindowFont f) {
            f.faceName = "IPAMincho";
            f.size = 1e10f; // a height past any integer: the capture fails
            f.italic = true;
            return f;
        };
        int redrawsAtMessage = -1;
        w.services.onMessage = [&] { redrawsAtMessage = w.form.redrawCount(); };
        const int before = w.form.redrawCount();
        QTest::mouseClick(child<QPushButton>(w.form, "cmdFont"), Qt::LeftButton);
        QCOMPARE(w.services.messages.size(), 1u);
        QCOMPARE(w.services.messages[0].caption, QString("Letterwire"));
        QCOMPARE(w.services.messages[0].text, QString::fromUtf8("フォント名を変えてください"));
        QCOMPARE(redrawsAtMessage, before);
        QCOMPARE(w.form.redrawCount(), before);
        QVERIFY(w.services.endings.empty());
        QCOMPARE(w.form.windowFont().faceName, std::string(lw::design::kFaceName));
        QCOMPARE(w.form.windowFont().size, 1e10f);
        QVERIFY(w.form.windowFont().italic);
        const QFont input = child<QLineEdit>(w.form, "txtInput")->font();
        QCOMPARE(input.family(), QString("IPAMincho"));
        QVERIFY(input.italic());

        // The same failure in any other handler is uncaught: reported, and the end.
        QTest::keyClicks(child<QLineEdit>(w.form, "txtInput"), "x");
        QCOMPARE(w.services.messages.size(), 2u);
        QVERIFY(w.services.messages[1].text.startsWith("Overflow"));
        QCOMPARE(w.services.endings, std::vector<int>{lw::kFailureExitStatus});
    }

    void inspectionDrawingCapturesAtTheOrigin()
    {
        Window w;
        const int before = w.form.redrawCount();
        child<QPushButton>(w.form, "Command3")->click();
        QCOMPARE(w.form.redrawCount(), before);
        const auto& outline = w.form.capturedOutline();
        QVERIFY(outline.pointCount > 0);
        const auto end = outline.pathPoints.begin() + outline.pointCount;
        const int left = std::min_element(outline.pathPoints.begin(), end, [](auto a, auto b) { return a.x < b.x; })->x;
        const int top = std::min_element(outline.pathPoints.begin(), end, [](auto a, auto b) { return a.y < b.y; })->y;
        QVERIFY2(left >= 0 && left < 4 && top >= 0 && top < 10, qPrintable(QString("%1,%2").arg(left).arg(top)));
        const QImage& image = w.form.previewImage();
        QCOMPARE(image.pixelColor(74, 172), QColor(128, 0, 128)); // the fixed mark
        bool red = false;
        for (int y = 0; y < 40 && !red; ++y)
            for (int x = 0; x < 200 && !red; ++x)
                red = image.pixelColor(x, y) == QColor(128, 0, 0);
        QVERIFY(red);

        typeOver(child<QLineEdit>(w.form, "txtInput"), "");
        child<QPushButton>(w.form, "Command3")->click();
        QCOMPARE(outline.pointCount, 0);
        QCOMPARE(outline.pathPoints.size(), 1u);
        QCOMPARE(image.pixelColor(74, 172), image.pixelColor(0, 0)); // cleared, nothing drawn
    }

    void cancelAndClosingEndAtOnce()
    {
        Window w;
        QTest::mouseClick(child<QPushButton>(w.form, "cmdCancel"), Qt::LeftButton);
        QCOMPARE(w.services.endings, std::vector<int>{0});
        w.form.close();
        QCOMPARE(w.services.endings, (std::vector<int>{0, 0}));
        QVERIFY(w.services.messages.empty());
    }

    void okFollowsTheRunMode()
    {
        QTemporaryDir dir;
        const QString command = dir.filePath("cmd.txt"), output = dir.filePath("out.txt");
        QFile file(command);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("hq\r\nlg0\r\n");
        file.close();

        StubServices services;
        Form1 preview(services);
        preview.load("abc def");
        const int before = preview.redrawCount();
        child<QPushButton>(preview, "cmdOK")->click();
        QCOMPARE(preview.redrawCount(), before);
        QVERIFY(services.endings.empty());

        Form1 jw(services);
        jw.load(("JW " + command + " " + output).toStdString());
        child<QPushButton>(jw, "cmdOK")->click();
        QCOMPARE(services.endings, std::vector<int>{0});
        QVERIFY(services.messages.empty());
        QVERIFY(QFileInfo(output).size() > 100);
        QCOMPARE(jw.capturedOutline().logFont.lfHeight, -32); // captured again, at the origin

        // WIT: each OK writes the work file and starts the converter; the window stays.
        QFile mfin(dir.filePath("mfin"));
        QVERIFY(mfin.open(QIODevice::WriteOnly));
        mfin.write(("#!/bin/sh\necho \"$1|$2\" >> '" + dir.filePath("mfin.log") + "'\n").toUtf8());
        mfin.close();
        mfin.setPermissions(mfin.permissions() | QFileDevice::ExeOwner);
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(dir.path()) + ":" + path);
        Form1 wit(services);
        wit.load(("wit " + output + ".jww").toStdString());
        child<QPushButton>(wit, "cmdOK")->click();
        child<QPushButton>(wit, "cmdOK")->click();
        qputenv("PATH", path);
        QCOMPARE(services.endings, std::vector<int>{0});
        QVERIFY(services.messages.empty());
        const QString workFile = QCoreApplication::applicationDirPath() + "/tmp.wmf";
        QVERIFY(QFileInfo(workFile).size() > 0);
        const auto converterStarts = [&] {
            QFile log(dir.filePath("mfin.log"));
            return log.open(QIODevice::ReadOnly) ? log.readAll().count('\n') : 0;
        };
        QTRY_COMPARE(converterStarts(), 2);
    }
};

LW_WINDOW_TEST_MAIN(Form1Test)
#include "form1_test.moc"
