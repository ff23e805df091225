// Letterwire's own start, ended right after the first preview is on screen;
// bench/startup.sh times it against bare_window.

#include "window/app.hpp"
#include "window/form1.hpp"

#include <QEvent>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

// After the first paint of `target`, once the frame is flushed, ends the process.
class EndAfterFirstPaint final : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, [] {
                std::fflush(nullptr);
                std::_Exit(0);
            });
        return false;
    }
};

} // namespace

int main(int argc, char** argv)
{
    EndAfterFirstPaint probe;
    return lw::runLetterwire(argc, argv, [&](lw::Form1& form) {
        form.findChild<QWidget*>("picSmpl")->installEventFilter(&probe);
    });
}
