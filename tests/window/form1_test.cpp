// The Qt view driven as a person would: real key and mouse events on its
// controls reach the form's handlers, and what the form writes shows. The
// form's behaviour itself is tested on its logic (tests/form).

#include "stub_services.hpp"
#include "window/qt/form1_view.hpp"

#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>

#include <cmath>

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

int outlineHeight(const QtForm1View& form) { return -form.form().capturedOutline().logFont.lfHeight; }

// The height a size in points gives on this 96 dpi screen.
int heightFor(double points) { return int(std::lround(points * 96.0 / 72.0)); }

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
        QCOMPARE(w.form.clientWidth(), 501.0f);
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
        const int before = w.form.form().redrawCount();
        QTest::keyClicks(input, "A");
        QCOMPARE(input->text(), QString("A"));
        QCOMPARE(w.form.form().redrawCount(), before + 1);
    }

    void sliderGesturesAreOneClick_data()
    {
        QTest::addColumn<QString>("slider");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<int>("position");
        QTest::newRow("angle track right of the handle") << "sldAngle" << "txtAngle" << "45" << "right" << 90;
        QTest::newRow("size track left of the handle") << "sldSize" << "txtSize" << "24" << "left" << 14;
        QTest::newRow("size arrow key") << "sldSize" << "txtSize" << "24" << "arrow" << 26;
        QTest::newRow("size drag counts once") << "sldSize" << "txtSize" << "1" << "drag" << 144;
    }
    void sliderGesturesAreOneClick()
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
        const int before = w.form.form().redrawCount();
        const int middle = onTrack(sliderControl, false).y();
        if (gesture == "right")
            QTest::mouseClick(sliderControl, Qt::LeftButton, {}, onTrack(sliderControl, true));
        else if (gesture == "left")
            QTest::mouseClick(sliderControl, Qt::LeftButton, {}, onTrack(sliderControl, false));
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
        QCOMPARE(w.form.form().redrawCount(), before + 2);
        if (sliderControl->objectName() == "sldAngle")
            QCOMPARE(w.form.form().capturedOutline().logFont.lfEscapement, position * 10);
        else
            QCOMPARE(outlineHeight(w.form), heightFor(position));
    }

    void viewWritesRunNoHandler()
    {
        Window w;
        const int before = w.form.form().redrawCount();
        w.form.setPosition(lw::Slider::sldAngle, 200);
        w.form.setText(lw::TextBox::txtSize, "30");
        QCOMPARE(w.form.form().redrawCount(), before);
        QCOMPARE(child<QSlider>(w.form, "sldAngle")->value(), 200);
        QCOMPARE(child<QLineEdit>(w.form, "txtAngle")->text(), QString("0"));
        QCOMPARE(child<QLineEdit>(w.form, "txtSize")->text(), QString("30"));
        QCOMPARE(w.form.form().windowFont().size, 24.0f);
    }

    void fontChoiceShowsInTheBoxAndFailuresNeverCrossQt()
    {
        Window w;
        w.services.answerFont = [](lw::WindowFont f) {
            f.faceName = "IPAMincho";
            f.italic = true;
            f.size = 1e10f; // the capture fails: the one caught failure
            return f;
        };
        QTest::mouseClick(child<QPushButton>(w.form, "cmdFont"), Qt::LeftButton);
        QCOMPARE(w.services.messages.size(), 1u);
        const QFont input = child<QLineEdit>(w.form, "txtInput")->font();
        QCOMPARE(input.family(), QString("IPAMincho"));
        QVERIFY(input.italic());
        // A key in the text box then fails uncaught: the guard reports and ends.
        QTest::keyClicks(child<QLineEdit>(w.form, "txtInput"), "x");
        QCOMPARE(w.services.messages.size(), 2u);
        QCOMPARE(w.services.endings, std::vector<int>{lw::kFailureExitStatus});
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
};

LW_WINDOW_TEST_MAIN(Form1Test)
#include "form1_test.moc"
