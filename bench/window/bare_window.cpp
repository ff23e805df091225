// The baseline of the start-up comparison: a bare Qt window with one line
// edit, ended right after its first paint, as startup_probe is.

#include "end_after_first_paint.hpp"

#include <QApplication>
#include <QLineEdit>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLineEdit edit;
    EndAfterFirstPaint probe;
    edit.installEventFilter(&probe);
    edit.show();
    return app.exec();
}
