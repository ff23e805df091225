// The Qt view driven as a person would: real key and mouse events on its
// controls reach the form's handlers, and what the form writes shows. The
// form's behaviour itself is tested on its logic (tests/form).

#include "stub_services.hpp"
#include "form/form_design.hpp"
#include "form/text_settings.hpp"
#include "form/stroke_drawing.hpp"
#include "window/qt/form1_view.hpp"

#include <QAction>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QClipboard>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QMenu>
#include <QSettings>
#include <QTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSlider>
#include <QPainter>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionFrame>
#include <QStyleOptionSlider>

#include <algorithm>
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
    for (QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(box, c.toLatin1());
        else // a character typed through an input method arrives as text
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), {});
    }
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


// Even-odd inside test of one figure, at a pixel's centre.
bool inside(const std::vector<lw::POINT>& figure, double x, double y)
{
    bool in = false;
    for (std::size_t i = 0, j = figure.size() - 1; i < figure.size(); j = i++) {
        const lw::POINT a = figure[i], b = figure[j];
        if ((a.y > y) != (b.y > y) && x < a.x + (y - a.y) * double(b.x - a.x) / double(b.y - a.y))
            in = !in;
    }
    return in;
}

std::vector<std::vector<lw::POINT>> figuresOf(const lw::CapturedOutline& o)
{
    std::vector<std::vector<lw::POINT>> out(1);
    for (int i = 0; i < o.pointCount; ++i) {
        out.back().push_back(o.pathPoints[std::size_t(i)]);
        if (o.pathTypes[std::size_t(i)] & 1)
            out.emplace_back();
    }
    out.pop_back();
    return out;
}

QRect boundsOf(const std::vector<lw::POINT>& figure)
{
    QRect r;
    for (const lw::POINT& p : figure)
        r |= QRect(p.x, p.y, 1, 1);
    return r;
}

int outlineHeight(const QtForm1View& form) { return -form.form().capturedOutline().logFont.lfHeight; }

// The height a size in points gives on this 96 dpi screen.
int heightFor(double points) { return int(std::lround(points * 96.0 / 72.0)); }

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

// Clicks a family in the font dialog as a user would: the family list is
// the view that lists it.
void clickFamily(QFontDialog* dialog, const QString& family)
{
    for (QListView* list : dialog->findChildren<QListView*>()) {
        const QModelIndexList found =
            list->model()->match(list->model()->index(0, 0), Qt::DisplayRole, family, 1, Qt::MatchExactly);
        if (found.isEmpty())
            continue;
        list->scrollTo(found[0]);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(found[0]).center());
    }
}

} // namespace

class Form1Test : public QObject {
    Q_OBJECT
private slots:
    // Every window starts from the design: nothing remembered from the last.
    void init() { QSettings().remove(QStringLiteral("text")); }
    void cleanupTestCase() { QSettings().remove(QStringLiteral("text")); }

    // The font, size and angle outlive the window, in the application's
    // settings; a value another program left there counts as the design's.
    void remembersTheFontAcrossWindows()
    {
        {
            Window w;
            auto* size = child<QLineEdit>(w.form, "txtSize");
            size->selectAll();
            QTest::keyClicks(size, "60");
            QTest::keyClick(size, Qt::Key_Return);
            QTest::keyClick(child<QSlider>(w.form, "sldAngle"), Qt::Key_PageUp);
        }
        QSettings stored;
        QCOMPARE(stored.value("text/size").toString(), QStringLiteral("60"));
        const QString angle = stored.value("text/angle").toString();
        QVERIFY(angle != "0" && !angle.isEmpty());
        {
            Window w;
            QCOMPARE(child<QLineEdit>(w.form, "txtSize")->text(), QStringLiteral("60"));
            QCOMPARE(QString::number(child<QSlider>(w.form, "sldAngle")->value()), angle);
            QCOMPARE(outlineHeight(w.form), heightFor(60));
            // The menu's item goes back to the design, and remembers that.
            QTest::keyClick(child<QLineEdit>(w.form, "txtInput"), Qt::Key_F11);
            QCOMPARE(child<QLineEdit>(w.form, "txtSize")->text(), QStringLiteral("24"));
            QCOMPARE(child<QSlider>(w.form, "sldAngle")->value(), 0);
        }
        QCOMPARE(QSettings().value("text/size").toString(), QStringLiteral("24"));
        stored.setValue("text/size", QStringList{"a", "b"});
        stored.setValue("text/angle", 7.5);
        stored.setValue("text/face", QString());
        stored.sync();
        Window w;
        QCOMPARE(child<QLineEdit>(w.form, "txtSize")->text(), QStringLiteral("24"));
        QCOMPARE(child<QSlider>(w.form, "sldAngle")->value(), 0);
        QCOMPARE(QString::fromStdString(w.form.form().windowFont().faceName), QString::fromUtf8(lw::design::kFaceName));
    }

    // A remembered value of a kind ours never are, or beyond its control's
    // range, is the design's; the values beside it still count.
    void eachStrangeRememberedValueAlone_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("face as bytes") << "face" << QVariant(QByteArray("IPAGothic"));
        QTest::newRow("face as a list") << "face" << QVariant(QStringList{"IPAGothic", "IPAMincho"});
        QTest::newRow("face as a date") << "face" << QVariant(QDate(2024, 1, 2));
        QTest::newRow("size as bytes") << "size" << QVariant(QByteArray("30"));
        QTest::newRow("spacing above the box") << "spacing" << QVariant(QStringLiteral("1000.25"));
        QTest::newRow("spacing below the box") << "spacing" << QVariant(QStringLiteral("-1000.5"));
        QTest::newRow("spacing as bytes") << "spacing" << QVariant(QByteArray("1.5"));
        QTest::newRow("width above the box") << "width" << QVariant(QStringLiteral("401"));
    }
    void eachStrangeRememberedValueAlone()
    {
        QFETCH(QString, name);
        QFETCH(QVariant, value);
        {
            QSettings stored;
            stored.beginGroup(QStringLiteral("text"));
            stored.setValue("face", QStringLiteral("IPAMincho"));
            stored.setValue("size", QStringLiteral("36"));
            stored.setValue("spacing", QStringLiteral("2.5"));
            stored.setValue("width", QStringLiteral("150"));
            stored.setValue(name, value);
        }
        Window w;
        const lw::TextSettings design;
        const lw::WindowFont& font = w.form.form().windowFont();
        QCOMPARE(QString::fromStdString(font.faceName),
                 QString::fromUtf8(name == "face" ? design.font.faceName.c_str() : "IPAMincho"));
        QCOMPARE(font.size, name == "size" ? design.font.size : 36.0f);
        QCOMPARE(w.form.form().textStyle().spacing, name == "spacing" ? design.style.spacing : 2.5);
        QCOMPARE(w.form.form().textStyle().widthPercent, name == "width" ? design.style.widthPercent : 150);
    }

    // Each control where the form's design table puts it (the table itself
    // is checked against the design in tests/form).
    void design_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("place");
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("shown");
        for (const lw::ControlDesign& c : lw::kControls) {
            const QRect twips(c.place.left, c.place.top, c.place.width, c.place.height);
            const double points = c.fontPoints == lw::kWindowFontPoints ? lw::design::kFontSize : c.fontPoints;
            // The load writes the font's size into the size box.
            const char* caption = c.control == lw::Control::txtSize ? "24" : c.caption;
            QTest::newRow(c.name) << c.name << QString::fromUtf8(caption)
                                  << QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15)
                                  << (points > 0 ? points : -1.0) << c.shown;
        }
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

    // The text box's panel is drawn once and then shown as a picture: in
    // every state, picture and style must give the same pixels, and a new
    // state must never show the old picture.
    void textBoxPanelIsThePictureOfItsStyle()
    {
        Window w;
        auto* input = child<QLineEdit>(w.form, "txtInput");
        QScopedPointer<QStyle> plain(QStyleFactory::create(QApplication::style()->name()));
        QVERIFY(plain);
        QStyleOptionFrame option;
        option.initFrom(input);
        option.rect = input->rect();
        option.lineWidth = input->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, input);
        option.state |= QStyle::State_Sunken;
        // The box paints opaquely: its picture holds the form behind the
        // panel's corners.
        QVERIFY(input->testAttribute(Qt::WA_OpaquePaintEvent));
        const QColor form = w.form.palette().color(w.form.backgroundRole());
        const auto paint = [&](const QStyle& style, QStyle::State state, QColor behind = Qt::transparent) {
            QImage image(option.rect.size(), QImage::Format_ARGB32_Premultiplied);
            image.fill(behind);
            QPainter painter(&image);
            QStyleOptionFrame drawn = option;
            drawn.state = state;
            style.drawPrimitive(QStyle::PE_PanelLineEdit, &drawn, &painter, input);
            return image;
        };
        const QStyle::State unfocused = option.state & ~QStyle::State_HasFocus;
        const QStyle::State focused = unfocused | QStyle::State_HasFocus;
        QVERIFY(paint(*plain, focused) != paint(*plain, unfocused));
        // The first paint of a state is the style's own, the next the picture.
        for (QStyle::State state : {unfocused, unfocused, focused, unfocused, focused, focused, unfocused})
            QCOMPARE(paint(*input->style(), state), paint(*plain, state, form));
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

    // All figures filled together by the nonzero rule, then every
    // outline, so a counter stays open and the strokes inside one show,
    // whether the font lists the hole first (DejaVu) or the outline first.
    void fillKeepsCountersAndInnerStrokes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("face");
        QTest::addColumn<int>("counters");     // at least this many open counters
        QTest::addColumn<int>("innerStrokes"); // at least this many strokes inside counters
        QTest::newRow("DejaVu Sans O") << "O" << "DejaVu Sans" << 1 << 0;
        QTest::newRow("DejaVu Sans B08") << "B08" << "DejaVu Sans" << 5 << 0;
        QTest::newRow("DejaVu Serif O") << "O" << "DejaVu Serif" << 1 << 0;
        QTest::newRow("IPA P Gothic 図") << QString::fromUtf8("図") << "IPAPGothic" << 0 << 1;
        QTest::newRow("IPA P Gothic 図回品") << QString::fromUtf8("図回品") << "IPAPGothic" << 3 << 2;
    }
    void fillKeepsCountersAndInnerStrokes()
    {
        Window w;
        QFETCH(QString, text);
        QFETCH(QString, face);
        w.services.answerFont = [&](lw::WindowFont f) {
            f.faceName = face.toStdString();
            return f;
        };
        QTest::mouseClick(child<QPushButton>(w.form, "cmdFont"), Qt::LeftButton);
        typeOver(child<QLineEdit>(w.form, "txtSize"), "60");
        typeOver(child<QLineEdit>(w.form, "txtInput"), text);
        const QImage& image = w.form.previewImage();
        const QRgb background = image.pixel(0, 0);
        const auto figures = figuresOf(w.form.form().capturedOutline());
        int openCounters = 0, inkedStrokes = 0;
        for (const auto& figure : figures) {
            // Depth: how many other figures hold this one.
            int depth = 0;
            bool holdsAny = false;
            for (const auto& other : figures) {
                if (&other == &figure)
                    continue;
                depth += inside(other, figure[0].x + 0.5, figure[0].y + 0.5);
                holdsAny |= inside(figure, other[0].x + 0.5, other[0].y + 0.5);
            }
            const QRect box = boundsOf(figure);
            const int y = box.center().y();
            if (depth % 2 == 1 && !holdsAny && inside(figure, box.center().x() + 0.5, y + 0.5)) {
                QCOMPARE(image.pixel(box.center().x(), y), background);
                ++openCounters;
            } else if (depth >= 2 && depth % 2 == 0) {
                // The middle of the first run across the stroke on its middle row.
                // Inside the figure and outside every figure it holds.
                const auto ink = [&](int x) {
                    if (!inside(figure, x + 0.5, y + 0.5))
                        return false;
                    for (const auto& other : figures)
                        if (&other != &figure && inside(figure, other[0].x + 0.5, other[0].y + 0.5)
                            && inside(other, x + 0.5, y + 0.5))
                            return false;
                    return true;
                };
                int from = box.left();
                while (from <= box.right() && !ink(from))
                    ++from;
                int to = from;
                while (to <= box.right() && ink(to))
                    ++to;
                if (to - from >= 3) {
                    QCOMPARE(image.pixel((from + to - 1) / 2, y), qRgb(255, 255, 255));
                    ++inkedStrokes;
                }
            }
        }
        QFETCH(int, counters);
        QFETCH(int, innerStrokes);
        QVERIFY2(openCounters >= counters, qPrintable(QString::number(openCounters)));
        QVERIFY2(inkedStrokes >= innerStrokes, qPrintable(QString::number(inkedStrokes)));
    }

    // A click anywhere on a slider's strip pages it, below the groove
    // among the tick marks too, as a Windows trackbar does.
    void sliderStripPagesAtAnyHeight_data()
    {
        QTest::addColumn<QString>("slider");
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("position");
        for (int y : {0, 5, 10, 16}) {
            QTest::addRow("sldAngle y %d", y) << "sldAngle" << "txtAngle" << y << 45;
            QTest::addRow("sldSize y %d", y) << "sldSize" << "txtSize" << y << 34;
        }
    }
    void sliderStripPagesAtAnyHeight()
    {
        Window w;
        QFETCH(QString, slider);
        QFETCH(QString, box);
        QFETCH(int, y);
        QFETCH(int, position);
        auto* control = child<QSlider>(w.form, slider.toLatin1().constData());
        const int before = w.form.form().redrawCount();
        QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(control->width() - 3, y));
        QCOMPARE(control->value(), position);
        QCOMPARE(child<QLineEdit>(w.form, box.toLatin1().constData())->text(), QString::number(position));
        QCOMPARE(w.form.form().redrawCount(), before + 2);
    }

    // Once an edit ends (Enter, or the focus leaves the box), the box
    // and its slider show what the preview and the exports use; no redraw.
    void editEndShowsTheValueInUse_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("shown");
        QTest::newRow("size 300, Enter") << "txtSize" << "300" << "enter" << "144";
        QTest::newRow("size 12.5, Tab") << "txtSize" << "12.5" << "tab" << "12";
        QTest::newRow("size abc, click on the text") << "txtSize" << "abc" << "click" << "1";
        QTest::newRow("angle -15, Tab") << "txtAngle" << "-15" << "tab" << "0";
        QTest::newRow("angle 45abc, Enter") << "txtAngle" << "45abc" << "enter" << "45";
        QTest::newRow("angle 400, click on the text") << "txtAngle" << "400" << "click" << "360";
    }
    void editEndShowsTheValueInUse()
    {
        Window w;
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, end);
        QFETCH(QString, shown);
        auto* control = child<QLineEdit>(w.form, box.toLatin1().constData());
        typeOver(control, typed);
        QCOMPARE(control->text(), typed);
        const int redraws = w.form.form().redrawCount();
        if (end == "enter")
            QTest::keyClick(control, Qt::Key_Return);
        else if (end == "tab")
            QTest::keyClick(control, Qt::Key_Tab);
        else
            QTest::mouseClick(child<QLineEdit>(w.form, "txtInput"), Qt::LeftButton);
        QCOMPARE(control->text(), shown);
        QCOMPARE(w.form.form().redrawCount(), redraws);
        if (box == "txtSize") {
            QCOMPARE(child<QSlider>(w.form, "sldSize")->value(), shown.toInt());
            QCOMPARE(outlineHeight(w.form), heightFor(shown.toInt()));
        } else {
            QCOMPARE(w.form.form().capturedOutline().logFont.lfEscapement, shown.toInt() * 10);
        }
    }

    void chosenSizeShowsInBoxAndSlider()
    {
        Window w;
        w.services.answerFont = [](lw::WindowFont f) {
            f.size = 72;
            return f;
        };
        QTest::mouseClick(child<QPushButton>(w.form, "cmdFont"), Qt::LeftButton);
        QCOMPARE(child<QLineEdit>(w.form, "txtSize")->text(), QString("72"));
        QCOMPARE(child<QSlider>(w.form, "sldSize")->value(), 72);
        QCOMPARE(outlineHeight(w.form), heightFor(72));
    }

    // A face that is not there: a quiet line under the text box says which
    // face draws, the text box keeps the keys, and the line goes when the
    // chosen face draws again.
    void faceNoteIsAQuietLineUnderTheTextBox()
    {
        Window w;
        auto* note = child<QLabel>(w.form, "lblFaceNote");
        auto* input = child<QLineEdit>(w.form, "txtInput");
        QVERIFY(!note->isVisible());
        const auto choose = [&](const char* face) {
            w.services.answerFont = [face](lw::WindowFont f) {
                f.faceName = face;
                return f;
            };
            QTest::mouseClick(child<QPushButton>(w.form, "cmdFont"), Qt::LeftButton);
        };
        choose("No Such Face Zzz");
        QVERIFY(note->isVisible());
        const QString full = note->toolTip();
        QVERIFY2(full.contains(QLatin1String("No Such Face Zzz")), qPrintable(full));
        QVERIFY2(!full.contains(QLatin1Char('%')), qPrintable(full));
        QVERIFY(full.contains(QString::fromStdString(w.form.form().faceNote()->drawnIn)));
        // Shown whole where it fits, cut with an ellipsis where not; never
        // over the size box below.
        QVERIFY(note->text() == full || note->text().endsWith(QChar(0x2026)));
        QVERIFY(note->geometry().bottom() < child<QLineEdit>(w.form, "txtSize")->geometry().top());
        QVERIFY(note->geometry().top() > input->geometry().bottom());
        QVERIFY(w.services.messages.empty());
        input->setFocus();
        QTRY_VERIFY(input->hasFocus());
        QTest::keyClicks(input, "x");
        QVERIFY(input->text().endsWith(QLatin1Char('x')));
        choose("IPAMincho");
        QVERIFY(!note->isVisible());
        QVERIFY(note->toolTip().isEmpty());
    }

    // The real font dialog opens on the whole current font, its
    // style included, so OK without a change changes nothing.
    void fontDialogKeepsTheCurrentStyle_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<double>("size");
        QTest::newRow("DejaVu Sans regular") << "DejaVu Sans" << false << false << 24.0;
        QTest::newRow("DejaVu Sans oblique") << "DejaVu Sans" << false << true << 36.0;
        QTest::newRow("DejaVu Sans bold") << "DejaVu Sans" << true << false << 10.0;
        QTest::newRow("DejaVu Serif regular") << "DejaVu Serif" << false << false << 72.0;
        QTest::newRow("DejaVu Serif bold italic") << "DejaVu Serif" << true << true << 12.0;
        QTest::newRow("the design face") << QString::fromUtf8("ＭＳ Ｐゴシック") << false << false << 24.0;
    }
    void fontDialogKeepsTheCurrentStyle()
    {
        QFETCH(QString, face);
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        QFETCH(double, size);
        lw::WindowFont preset;
        preset.faceName = face.toStdString();
        preset.bold = bold;
        preset.italic = italic;
        preset.size = float(size);
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            seen = true;
            QTest::keyClick(dialog, Qt::Key_Return); // OK, nothing changed
        });
        lw::QtServices services;
        const lw::WindowFont chosen = services.chooseFont(nullptr, preset);
        QVERIFY(seen);
        QCOMPARE(chosen.bold, bold);
        QCOMPARE(chosen.italic, italic);
        QCOMPARE(chosen.size, float(size));
        if (face.startsWith("DejaVu"))
            QCOMPARE(QString::fromStdString(chosen.faceName), face);
    }

    // A click on another family keeps the style: the new family's style of
    // the same slant and weight, else its regular one; never its first
    // style in the list ("Oblique", "Condensed Italic").
    void fontDialogFamilyClickKeepsTheStyle_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<QString>("clicked");
        QTest::addColumn<bool>("keptBold");
        QTest::addColumn<bool>("keptItalic");
        const QString gothic = QString::fromUtf8("ＭＳ Ｐゴシック");
        QTest::newRow("design face to DejaVu Sans") << gothic << false << false << "DejaVu Sans" << false << false;
        QTest::newRow("design face to DejaVu Serif") << gothic << false << false << "DejaVu Serif" << false << false;
        QTest::newRow("regular to regular") << "DejaVu Serif" << false << false << "DejaVu Sans" << false << false;
        QTest::newRow("bold to bold") << "DejaVu Sans" << true << false << "DejaVu Serif" << true << false;
        QTest::newRow("oblique to italic") << "DejaVu Sans" << false << true << "DejaVu Serif" << false << true;
        QTest::newRow("italic to a family without one") << "DejaVu Serif" << false << true << "IPAMincho" << false
                                                        << false;
    }
    void fontDialogFamilyClickKeepsTheStyle()
    {
        QFETCH(QString, face);
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        QFETCH(QString, clicked);
        QFETCH(bool, keptBold);
        QFETCH(bool, keptItalic);
        lw::WindowFont preset;
        preset.faceName = face.toStdString();
        preset.bold = bold;
        preset.italic = italic;
        QString shownStyle;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            clickFamily(dialog, clicked);
            // The dialog's own update and ours, both through the event loop.
            for (int waited = 0; waited < 2000 && dialog->currentFont().family() != clicked; waited += 20)
                QTest::qWait(20);
            QTest::qWait(50);
            shownStyle = dialog->currentFont().styleName();
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        lw::QtServices services;
        const lw::WindowFont chosen = services.chooseFont(nullptr, preset);
        QCOMPARE(QString::fromStdString(chosen.faceName), clicked);
        QVERIFY2(chosen.italic == keptItalic, qPrintable(shownStyle));
        QVERIFY2(chosen.bold == keptBold, qPrintable(shownStyle));
        QVERIFY2(!shownStyle.contains(QLatin1String("Condensed")), qPrintable(shownStyle));
    }

    // An "@" face opens as its family with the vertical box ticked; the
    // box turns a Japanese family into its "@" face and is off for a
    // family without Japanese.
    void fontDialogOffersTheVerticalFaces_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<QString>("clicked"); // a family clicked in the list, or none
        QTest::addColumn<bool>("tick");       // a click on the box
        QTest::addColumn<bool>("enabled");    // the box, at OK
        QTest::addColumn<QString>("chosen");
        QTest::newRow("vertical kept") << "@IPAMincho" << "" << false << true << "@IPAMincho";
        QTest::newRow("ticked") << "IPAGothic" << "" << true << true << "@IPAGothic";
        QTest::newRow("unticked") << "@IPAGothic" << "" << true << true << "IPAGothic";
        QTest::newRow("another Japanese family stays vertical") << "@IPAGothic" << "IPAMincho" << false << true
                                                                 << "@IPAMincho";
        QTest::newRow("a Latin family cannot be vertical") << "@IPAMincho" << "DejaVu Sans" << false << false
                                                            << "DejaVu Sans";
        QTest::newRow("no box for a Latin face") << "DejaVu Serif" << "" << true << false << "DejaVu Serif";
    }
    void fontDialogOffersTheVerticalFaces()
    {
        QFETCH(QString, face);
        QFETCH(QString, clicked);
        QFETCH(bool, tick);
        QFETCH(bool, enabled);
        QFETCH(QString, chosen);
        lw::WindowFont preset;
        preset.faceName = face.toStdString();
        bool seen = false, wasEnabled = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            auto* box = dialog->findChild<QCheckBox*>("chkVertical");
            if (!box)
                return;
            seen = true;
            QCOMPARE(box->isChecked(), face.startsWith('@'));
            if (!clicked.isEmpty())
                clickFamily(dialog, clicked);
            if (!clicked.isEmpty())
                QTRY_COMPARE(dialog->currentFont().family(), clicked);
            if (tick)
                QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->height() / 2, box->height() / 2));
            wasEnabled = box->isEnabled();
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        lw::QtServices services;
        const lw::WindowFont result = services.chooseFont(nullptr, preset);
        QVERIFY(seen);
        QCOMPARE(wasEnabled, enabled);
        QCOMPARE(QString::fromStdString(result.faceName), chosen);
    }

    // "Font file...": the file chosen in the file dialog over the font
    // dialog becomes the font's file (the form adds it and draws its family).
    void fontDialogTakesAFontFile()
    {
        const QString serif = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf");
        if (!QFile::exists(serif))
            QSKIP("DejaVu Serif is not installed");
        bool seen = false, fileDialogSeen = false;
        QElapsedTimer waited;
        waited.start();
        QTimer poll;
        poll.setInterval(20);
        connect(&poll, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            // A dialog that will not take the file fails the test, never hangs it.
            if (waited.elapsed() > 20000) {
                if (auto* open = qobject_cast<QDialog*>(modal))
                    open->reject();
                return;
            }
            if (auto* files = qobject_cast<QFileDialog*>(modal)) {
                fileDialogSeen = true;
                // Typed whole into the name box, as a user may: the dialog's
                // listing of the folder need not have come in.
                if (auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                    name->setText(serif);
                static_cast<QDialog*>(files)->accept(); // QFileDialog::accept, which takes the file
                return;
            }
            auto* dialog = qobject_cast<QFontDialog*>(modal);
            auto* button = dialog ? dialog->findChild<QPushButton*>(QStringLiteral("cmdFontFile")) : nullptr;
            if (!button || seen)
                return;
            seen = true;
            // Clicked once this poll has returned: a timer is not run again
            // inside its own handler, where the file dialog's loop would be.
            QTimer::singleShot(0, button, &QPushButton::click);
        });
        poll.start();
        lw::QtServices services;
        const lw::WindowFont result = services.chooseFont(nullptr, lw::WindowFont{});
        QVERIFY(seen);
        QVERIFY(fileDialogSeen);
        QCOMPARE(QString::fromStdString(result.fontFile), serif);
    }

    // The font dialog lists the installed stroke faces after "none" in a
    // group of its own, each also as its vertical "@" face (those first, as
    // a sorted font list puts "@" faces); it opens on the window's stroke
    // face, and the one chosen draws the text as open black lines, nothing
    // filled; "none" brings the outline back.
    void fontDialogOffersStrokeFaces_data()
    {
        QTest::addColumn<QString>("preset");
        QTest::addColumn<QString>("opensOn");
        QTest::addColumn<bool>("pick"); // an entry picked, or the one it opens on kept
        QTest::addColumn<QString>("picked");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("a face") << "" << "" << true << "rowmans" << "rowmans";
        QTest::newRow("a vertical face") << "" << "" << true << "@rowmans" << "@rowmans";
        QTest::newRow("vertical kept") << "@rowmans" << "@rowmans" << false << "" << "@rowmans";
        QTest::newRow("vertical to horizontal") << "@rowmans" << "@rowmans" << true << "rowmans" << "rowmans";
        QTest::newRow("horizontal to vertical") << "rowmans" << "rowmans" << true << "@rowmans" << "@rowmans";
        QTest::newRow("vertical to none") << "@rowmans" << "@rowmans" << true << "" << "";
        QTest::newRow("a vertical face gone") << "@no-such-face" << "" << false << "" << "";
    }
    void fontDialogOffersStrokeFaces()
    {
        QFETCH(QString, preset);
        QFETCH(QString, opensOn);
        QFETCH(bool, pick);
        QFETCH(QString, picked);
        QFETCH(QString, chosen);
        const std::vector<std::string> names = lw::strokeFaceNames();
        if (std::find(names.begin(), names.end(), "rowmans") == names.end())
            QSKIP("the Hershey stroke fonts are not installed");
        QStringList listed;
        QString shown;
        QTimer poll;
        poll.setInterval(20);
        connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
            auto* box = dialog ? dialog->findChild<QComboBox*>(QStringLiteral("cmbStrokeFace")) : nullptr;
            if (!box)
                return;
            poll.stop();
            for (int k = 0; k < box->count(); ++k)
                listed << box->itemData(k).toString();
            shown = box->currentData().toString();
            if (pick)
                box->setCurrentIndex(box->findData(picked));
            dialog->accept();
        });
        poll.start();
        lw::QtServices services;
        lw::WindowFont font;
        font.strokeFace = preset.toStdString();
        const lw::WindowFont result = services.chooseFont(nullptr, font);
        QCOMPARE(shown, opensOn);
        QCOMPARE(QString::fromStdString(result.strokeFace), chosen);
        QStringList expected{QString()};
        for (const std::string& name : names)
            expected << QLatin1Char('@') + QString::fromStdString(name);
        for (const std::string& name : names)
            expected << QString::fromStdString(name);
        QCOMPARE(listed, expected);
        if (chosen.isEmpty())
            return;

        Window w;
        const auto counted = [&](QRgb colour) {
            const QImage& image = w.form.previewImage();
            int n = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
            return n;
        };
        QVERIFY(counted(qRgb(255, 255, 255)) > 100); // the outline's fill
        const QImage outline = w.form.previewImage();
        w.services.answerFont = [&](lw::WindowFont f) {
            f.strokeFace = chosen.toStdString();
            return f;
        };
        w.form.form().run(&lw::Form1::cmdFont_Click);
        QTRY_VERIFY(counted(qRgb(255, 255, 255)) == 0 && counted(qRgb(0, 0, 0)) > 100);
        // The other way of writing draws other lines: the Japanese text's
        // characters turn in the "@" face.
        const QImage strokes = w.form.previewImage();
        const QString other = chosen.startsWith('@') ? chosen.mid(1) : QLatin1Char('@') + chosen;
        w.services.answerFont = [&](lw::WindowFont f) {
            f.strokeFace = other.toStdString();
            return f;
        };
        w.form.form().run(&lw::Form1::cmdFont_Click);
        QTRY_VERIFY(w.form.previewImage() != strokes && counted(qRgb(255, 255, 255)) == 0);
        w.services.answerFont = [](lw::WindowFont f) {
            f.strokeFace.clear();
            return f;
        };
        w.form.form().run(&lw::Form1::cmdFont_Click);
        QTRY_VERIFY(counted(qRgb(255, 255, 255)) > 100);
        QVERIFY(w.form.previewImage() == outline);
    }

    // The hidden buttons' work and the fit view in the preview's
    // context menu, each with a key; the WIT export in mode WIT only.
    void previewMenuOffersTheHiddenWork_data()
    {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QStringList>("offered");
        QTest::newRow("no mode") << QStringList{}
                                 << QStringList{"再描画\tF5", "アウトラインの確認\tF6", "文字スタイル...\tF9",
                                                "工具の確認...\tF4", "フォントを初期値に戻す\tF11", "", "全体を表示\tF8"};
        QTest::newRow("mode WIT") << QStringList{"WIT", "/tmp/out.jww"}
                                  << QStringList{"再描画\tF5", "アウトラインの確認\tF6", "WIT出力\tF7",
                                                 "文字スタイル...\tF9", "工具の確認...\tF4",
                                                 "フォントを初期値に戻す\tF11", "",
                                                 "全体を表示\tF8"};
    }
    void previewMenuOffersTheHiddenWork()
    {
        QFETCH(QStringList, words);
        QFETCH(QStringList, offered);
        std::vector<std::string> args;
        for (const QString& word : words)
            args.push_back(word.toStdString());
        Window w(args);
        QStringList shown;
        QTimer poll;
        poll.setInterval(20);
        connect(&poll, &QTimer::timeout, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            poll.stop();
            for (QAction* action : menu->actions())
                shown << (action->isSeparator() ? QString()
                                                : action->text() + (action->shortcut().isEmpty()
                                                                        ? QString()
                                                                        : "\t" + action->shortcut().toString()));
            menu->close();
        });
        poll.start();
        auto* preview = child<QWidget>(w.form, "picSmpl");
        // Through the window, as the platform delivers a right click, so Qt
        // makes its context menu event from it.
        QTest::mouseClick(w.form.windowHandle(), Qt::RightButton, {}, preview->mapTo(&w.form, QPoint(100, 100)));
        QTRY_VERIFY(!shown.isEmpty());
        for (QString& s : offered)
            s = QString::fromUtf8(s.toUtf8());
        QCOMPARE(shown, offered);
    }

    // F9: the text style dialog; its note while the font's bold is ignored,
    // and the style chosen in the next capture.
    void textStyleDialogSetsTheCapturesStyle()
    {
        Window w;
        auto* input = child<QLineEdit>(w.form, "txtInput");
        const int before = w.form.form().redrawCount();
        bool noteShown = true, noteAfterBold = true;
        QTimer poll;
        poll.setInterval(20);
        connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || dialog->objectName() != QLatin1String("textStyleDialog"))
                return;
            poll.stop();
            auto* note = dialog->findChild<QLabel*>(QStringLiteral("lblBoldNote"));
            noteShown = note && note->isVisible();
            dialog->findChild<QDoubleSpinBox*>(QStringLiteral("spnSpacing"))->setValue(1.5);
            dialog->findChild<QDoubleSpinBox*>(QStringLiteral("spnWidth"))->setValue(50);
            dialog->findChild<QCheckBox*>(QStringLiteral("chkBold"))->setChecked(true);
            dialog->findChild<QCheckBox*>(QStringLiteral("chkKerning"))->setChecked(true);
            dialog->findChild<QDoubleSpinBox*>(QStringLiteral("spnArcRadius"))->setValue(-40);
            dialog->findChild<QDoubleSpinBox*>(QStringLiteral("spnArcAngle"))->setValue(120);
            noteAfterBold = note && note->isVisible();
            dialog->accept();
        });
        poll.start();
        QTest::keyClick(input, Qt::Key_F9);
        QTRY_COMPARE(w.form.form().redrawCount(), before + 1);
        QVERIFY(!noteShown); // the window font is not bold
        QVERIFY(!noteAfterBold);
        lw::TextStyle chosen{.spacing = 1.5, .widthPercent = 50, .bold = true, .shaping = {.kerning = true}};
        chosen.arc.radiusMm = -40;
        chosen.arc.atDegrees = 120;
        QVERIFY(w.form.form().textStyle() == chosen);
        QCOMPARE(w.form.form().capturedOutline().logFont.lfWeight, lw::FW_BOLD);
    }

    void previewKeysRunTheirWork()
    {
        Window w;
        auto* input = child<QLineEdit>(w.form, "txtInput");
        const int before = w.form.form().redrawCount();
        QTest::keyClick(input, Qt::Key_F5);
        QCOMPARE(w.form.form().redrawCount(), before + 1);
        QTest::keyClick(input, Qt::Key_F6); // the inspection drawing, at the origin
        QCOMPARE(w.form.form().redrawCount(), before + 1);
        const lw::CapturedOutline& outline = w.form.form().capturedOutline();
        const auto left = std::min_element(outline.pathPoints.begin(), outline.pathPoints.begin() + outline.pointCount,
                                           [](lw::POINT a, lw::POINT b) { return a.x < b.x; });
        QVERIFY(left->x < 4);
    }

    // Large text seen whole in the fit view; the capture stays.
    void fitViewShowsAllAndChangesNoCapture()
    {
        Window w;
        typeOver(child<QLineEdit>(w.form, "txtSize"), "144");
        const auto points = w.form.form().capturedOutline().pathPoints;
        const QImage designed = w.form.previewImage();
        const QRgb background = designed.pixel(0, 0);
        const auto touchesEdge = [&](const QImage& image) {
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, 0) != background || image.pixel(x, image.height() - 1) != background)
                    return true;
            for (int y = 0; y < image.height(); ++y)
                if (image.pixel(0, y) != background || image.pixel(image.width() - 1, y) != background)
                    return true;
            return false;
        };
        QVERIFY(touchesEdge(designed)); // cut off at 144 pt
        auto* input = child<QLineEdit>(w.form, "txtInput");
        QTest::keyClick(input, Qt::Key_F8);
        QVERIFY(!touchesEdge(w.form.previewImage()));
        QTest::keyClicks(input, "A"); // redraws stay fitted
        QVERIFY(!touchesEdge(w.form.previewImage()));
        QTest::keyClick(input, Qt::Key_Backspace);
        QCOMPARE(w.form.form().capturedOutline().pathPoints, points);
        QTest::keyClick(input, Qt::Key_F8);
        QCOMPARE(w.form.previewImage(), designed);
    }

    // The box holds one line: a paste brings in its first line only, with
    // no control character, and the box's own text around it stays.
    void pasteKeepsTheFirstLine_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("after");
        QTest::newRow("line feed") << "ab" << 1 << "X\nY" << "aXb";
        QTest::newRow("CR LF first") << "ab" << 2 << "\r\nY" << "ab";
        QTest::newRow("CR alone") << "" << 0 << "one\rtwo" << "one";
        QTest::newRow("tab and bell") << "" << 0 << "P\tQ\a" << "P Q";
        QTest::newRow("line separator") << "ab" << 0 << QString::fromUtf8("漢\u2028字") << QString::fromUtf8("漢ab");
        QTest::newRow("one line") << "ab" << 2 << "cd" << "abcd";
        QTest::newRow("DEL and C1 controls") << "ab" << 1 << QString::fromUtf8("c\u007Fd\u0085e\u009F") << "acdeb";
        QTest::newRow("paragraph separator") << "" << 0 << QString::fromUtf8("x\u2029y") << "x";
        QTest::newRow("beside the C1 range") << "" << 0 << QString::fromUtf8("\u00A0\u007E") << QString::fromUtf8("\u00A0~");
        QTest::newRow("a pair of surrogates")
            << "ab" << 1 << QString::fromUtf8("\U0001F600") << QString::fromUtf8("a\U0001F600b");
    }
    void pasteKeepsTheFirstLine()
    {
        QFETCH(QString, before);
        QFETCH(int, cursor);
        QFETCH(QString, pasted);
        QFETCH(QString, after);
        Window w;
        auto* input = child<QLineEdit>(w.form, "txtInput");
        input->setFocus();
        input->setText(before);
        input->setCursorPosition(cursor);
        QGuiApplication::clipboard()->setText(pasted);
        QTest::keyClick(input, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(input->text(), after);
        QCOMPARE(QString::fromStdString(w.form.text(lw::TextBox::txtInput)), after);
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
