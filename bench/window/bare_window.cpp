// The baseline of the start-up comparison: a bare Qt window with one line
// edit, ended right after its first paint, as startup_probe is. With --stay
// it stays open: the baseline of the keystroke comparison. With --design as
// well, the edit has the size, face and colour of Letterwire's text box: what
// that box costs a keystroke on its own, without the preview. With --text,
// that edit starts holding the design's text: the baseline of the start-up
// comparison, a window that shows what Letterwire's text box shows. With
// --window as well, that edit stands where the text box stands in a window of
// the design's size and nothing else: how much of the comparison is the
// window's area alone.

#include "end_after_first_paint.hpp"
#include "text_box_edit.hpp"

#include "base/design.hpp"
#include "form/form_design.hpp"

#include <QApplication>
#include <QLineEdit>

#include <cstring>

int main(int argc, char** argv)
{
    bool stay = false, design = false, text = false, window = false;
    for (int i = 1; i < argc; ++i) {
        stay = stay || std::strcmp(argv[i], "--stay") == 0;
        design = design || std::strcmp(argv[i], "--design") == 0;
        text = text || std::strcmp(argv[i], "--text") == 0;
        window = window || std::strcmp(argv[i], "--window") == 0;
    }
    QApplication app(argc, argv);
    QWidget frame;
    QLineEdit edit(window ? &frame : nullptr);
    if (design) {
        dressAsTextBox(edit);
        if (text)
            edit.setText(QString::fromUtf8(lw::design::kText));
    }
    EndAfterFirstPaint probe;
    if (!stay)
        edit.installEventFilter(&probe);
    if (window) {
        frame.setFixedSize(lw::design::kClientWidthTwips / lw::design::kTwipsPerPixel,
                           lw::design::kClientHeightTwips / lw::design::kTwipsPerPixel);
        const lw::design::TwipsRect box = lw::controlDesign(lw::Control::txtInput).place;
        edit.move(box.left / lw::design::kTwipsPerPixel, box.top / lw::design::kTwipsPerPixel);
        frame.show();
    } else {
        edit.show();
    }
    return app.exec();
}
