// One keystroke at the end of a long text, in Letterwire's text box and in a
// stock line edit of that box's size and face holding the same text, taken in
// turn in one process on the offscreen platform: the process's CPU time from
// the key to the end of the repaint it asked for. Prints the medians and the
// 90th percentiles in ms and their ratio.
//   long_text_probe [KEYSTROKES [CHARACTERS [POINTS]]]   (200, 32000, 144)

#include "window/qt/form1_view.hpp"
#include "own_settings.hpp"
#include "quiet_services.hpp"
#include "text_box_edit.hpp"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Alternately one more kanji and BackSpace, so the text ends as it began.
double keystroke(QLineEdit* box, bool add)
{
    const double start = cpuMs();
    if (add)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(QChar(0x5B57)), {});
    else
        QTest::keyClick(box, Qt::Key_Backspace);
    // The repaint the key asked for, and anything it posted in turn.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    return cpuMs() - start;
}

struct Figures {
    double median, p90;
};

Figures figuresOf(std::vector<double> t)
{
    std::sort(t.begin(), t.end());
    const std::size_t n = t.size();
    const double median = n % 2 ? t[n / 2] : (t[n / 2 - 1] + t[n / 2]) / 2;
    std::size_t rank = (9 * n + 9) / 10; // nearest rank
    return {median, t[std::max<std::size_t>(rank, 1) - 1]};
}

} // namespace

int main(int argc, char** argv)
{
    const int keystrokes = argc > 1 ? std::max(2, std::atoi(argv[1])) : 200;
    const int characters = argc > 2 ? std::max(1, std::atoi(argv[2])) : 32000;
    const int points = argc > 3 ? std::max(1, std::atoi(argv[3])) : 144;
    prepareWindowBench();
    int qtArgc = 1;
    QApplication app(qtArgc, argv);

    QString text;
    while (text.size() < characters)
        text += kKanji;
    text.truncate(characters);

    QuietServices services;
    lw::QtForm1View form(services);
    form.load({});
    form.show();
    // The stock edit as Letterwire's box is: 481 x 57, the design face at
    // 24 pt, the same yellow.
    QLineEdit sized;
    dressAsTextBox(sized);
    sized.setMaxLength(form.findChild<QLineEdit*>("txtInput")->maxLength());
    sized.show();
    if (!QTest::qWaitForWindowExposed(&form) || !QTest::qWaitForWindowExposed(&sized)) {
        std::fprintf(stderr, "long_text_probe: a window was not exposed\n");
        return 1;
    }
    form.findChild<QLineEdit*>("txtSize")->setText(QString::number(points));
    auto* input = form.findChild<QLineEdit*>("txtInput");
    for (QLineEdit* box : {input, &sized}) {
        box->setText(text);
        box->setFocus();
        box->end(false);
    }
    if (input->text().size() != characters) {
        std::fprintf(stderr, "long_text_probe: the text box holds %lld characters, not %d\n",
                     static_cast<long long>(input->text().size()), characters);
        return 1;
    }
    QCoreApplication::processEvents();

    // Blocks of ten in turn, so a change in the machine's load falls on both.
    std::vector<double> letterwire, edit;
    constexpr int kBlock = 10, kWarmup = 2;
    bool add[2] = {true, true};
    for (int done = 0; done < keystrokes; done += kBlock)
        for (int which = 0; which < 2; ++which) {
            QLineEdit* box = which == 0 ? input : &sized;
            // The text box selects all when the focus comes to it; the keys
            // go to the end of the text, as when one types on.
            box->activateWindow();
            box->setFocus();
            QTest::qWait(100);
            box->end(false);
            for (int k = 0; k < kBlock + kWarmup; ++k) {
                const double ms = keystroke(box, add[which]);
                add[which] = !add[which];
                if (k >= kWarmup)
                    (which == 0 ? letterwire : edit).push_back(ms);
            }
        }
    if (input->text() != text || sized.text() != text) {
        std::fprintf(stderr, "long_text_probe: the keys did not reach the boxes as typed\n");
        return 1;
    }
    const Figures a = figuresOf(letterwire), b = figuresOf(edit);
    std::printf("%d characters at %d pt, %zu keystrokes each, CPU ms per keystroke, median / p90\n", characters,
                points, letterwire.size());
    std::printf("Letterwire %8.2f %8.2f\n", a.median, a.p90);
    std::printf("sized edit %8.2f %8.2f\n", b.median, b.p90);
    std::printf("ratio      %8.2f %8.2f\n", a.median / b.median, a.p90 / b.p90);
    return 0;
}
