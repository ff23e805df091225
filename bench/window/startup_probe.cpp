// Letterwire's own start, ended right after the first preview is on screen;
// bench/startup.sh times it against bare_window.

#include "end_after_first_paint.hpp"
#include "window/qt/app.hpp"
#include "window/qt/form1_view.hpp"

int main(int argc, char** argv)
{
    EndAfterFirstPaint probe;
    return lw::runLetterwire(argc, argv, [&](lw::QtForm1View& form) {
        form.findChild<QWidget*>("picSmpl")->installEventFilter(&probe);
    });
}
