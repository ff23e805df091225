// The baseline of the start-up comparison: a bare Qt window with one line
// edit, ended right after its first paint, as startup_probe is. With --stay
// it stays open: the baseline of the keystroke comparison.

#include "end_after_first_paint.hpp"

#include <QApplication>
#include <QLineEdit>

#include <cstring>

int main(int argc, char** argv)
{
    const bool stay = argc > 1 && std::strcmp(argv[1], "--stay") == 0;
    QApplication app(argc, argv);
    QLineEdit edit;
    EndAfterFirstPaint probe;
    if (!stay)
        edit.installEventFilter(&probe);
    edit.show();
    return app.exec();
}
