// The baseline of the start-up comparison: a bare Qt window with one line
// edit, ended right after its first paint, as startup_probe is.

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

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
    QApplication app(argc, argv);
    QLineEdit edit;
    EndAfterFirstPaint probe;
    edit.installEventFilter(&probe);
    edit.show();
    return app.exec();
}
