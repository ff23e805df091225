// The baseline of the start-up comparison: a bare Qt window with one line
// edit, ended right after its first paint, as startup_probe is. With --stay
// it stays open: the baseline of the keystroke comparison. With --design as
// well, the edit has the size, face and colour of Letterwire's text box: what
// that box costs a keystroke on its own, without the preview. With --text,
// that edit starts holding the design's text: the baseline of the start-up
// comparison, a window that shows what Letterwire's text box shows.

#include "end_after_first_paint.hpp"
#include "text_box_edit.hpp"

#include "base/design.hpp"

#include <QApplication>
#include <QLineEdit>

#include <cstring>

int main(int argc, char** argv)
{
    bool stay = false, design = false, text = false;
    for (int i = 1; i < argc; ++i) {
        stay = stay || std::strcmp(argv[i], "--stay") == 0;
        design = design || std::strcmp(argv[i], "--design") == 0;
        text = text || std::strcmp(argv[i], "--text") == 0;
    }
    QApplication app(argc, argv);
    QLineEdit edit;
    if (design) {
        dressAsTextBox(edit);
        if (text)
            edit.setText(QString::fromUtf8(lw::design::kText));
    }
    EndAfterFirstPaint probe;
    if (!stay)
        edit.installEventFilter(&probe);
    edit.show();
    return app.exec();
}
