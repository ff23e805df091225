// One redraw after a keystroke in txtInput: capture, polygon fill and the
// repaint of the text box and the preview, on the offscreen platform; and
// the same keystroke in a stock line edit dressed as the text box, what the
// box costs on its own. CPU time is the process's: the preview fills on a
// thread of its own, and the stock edit strokes its frame on Qt's pool.

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

// Alternately types one more kanji and takes it back, from the end of the
// box's text, and lets the repaint that asked for happen.
void typeAndTakeBack(benchmark::State& state, QLineEdit* box)
{
    box->setFocus();
    box->end(false);
    bool add = true;
    for (auto _ : state) {
        if (add)
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(QChar(0x5B57)), {});
        else
            QTest::keyClick(box, Qt::Key_Backspace);
        QCoreApplication::processEvents();
        add = !add;
    }
}

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
    const int before = form.form().redrawCount();
    // One redraw a keystroke: the text box and the preview repainted together.
    typeAndTakeBack(state, input);
    state.counters["redraws/keystroke"] =
        double(form.form().redrawCount() - before) / double(state.iterations());
    state.counters["points"] = form.form().capturedOutline().pointCount;
}
BENCHMARK(keystrokeRedraw)->Arg(24)->Arg(144)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMicrosecond);

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
    typeAndTakeBack(state, &edit);
}
BENCHMARK(sizedEditKeystroke)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    prepareWindowBench();
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
