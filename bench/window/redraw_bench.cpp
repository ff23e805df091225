// One redraw after a keystroke in txtInput: capture, polygon fill and the
// repaint of the text box and the preview, on the offscreen platform; and
// the same keystroke in a stock line edit dressed as the text box, what the
// box costs on its own.

#include "platform/freetype/font_rules.hpp"
#include "window/qt/form1_view.hpp"
#include "own_settings.hpp"
#include "quiet_services.hpp"
#include "text_box_edit.hpp"

#include <QApplication>
#include <QLineEdit>
#include <QSettings>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

void keystrokeRedraw(benchmark::State& state)
{
    // The benchmark calls this more than once per case: a size the call
    // before remembered would put the text box at 144 pt, drawn as paths.
    QSettings().clear();
    QuietServices services;
    lw::QtForm1View form(services);
    form.load({});
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) {
        state.SkipWithError("window not exposed");
        return;
    }
    auto* size = form.findChild<QLineEdit*>("txtSize");
    size->setText(QString::number(state.range(0)));
    auto* input = form.findChild<QLineEdit*>("txtInput");
    input->setText(kKanji);
    input->setFocus();
    input->end(false);

    const int before = form.form().redrawCount();
    bool add = true;
    for (auto _ : state) {
        // Alternately type one more kanji and take it back: one redraw each.
        if (add)
            QTest::sendKeyEvent(QTest::Click, input, Qt::Key_unknown, QString(QChar(0x5B57)), {});
        else
            QTest::keyClick(input, Qt::Key_Backspace);
        // The repaint the keystroke asked for: the text box and the preview
        // together.
        QCoreApplication::processEvents();
        add = !add;
    }
    state.counters["redraws/keystroke"] =
        double(form.form().redrawCount() - before) / double(state.iterations());
    state.counters["points"] = form.form().capturedOutline().pointCount;
}
BENCHMARK(keystrokeRedraw)->Arg(24)->Arg(144)->Unit(benchmark::kMicrosecond);

void sizedEditKeystroke(benchmark::State& state)
{
    QLineEdit edit;
    dressAsTextBox(edit);
    edit.setText(kKanji);
    edit.show();
    if (!QTest::qWaitForWindowExposed(&edit)) {
        state.SkipWithError("window not exposed");
        return;
    }
    edit.setFocus();
    edit.end(false);
    bool add = true;
    for (auto _ : state) {
        if (add)
            QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, QString(QChar(0x5B57)), {});
        else
            QTest::keyClick(&edit, Qt::Key_Backspace);
        QCoreApplication::processEvents();
        add = !add;
    }
}
BENCHMARK(sizedEditKeystroke)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    // Offscreen unless told otherwise: on xcb (under Xvfb) the figures take
    // in the flush to the X server as well.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    useOwnSettings();
    lw::installFontRules();
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
