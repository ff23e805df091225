#include "window/qt/screen.hpp"

#include "base/design.hpp"

#include <QGuiApplication>
#include <QScreen>

namespace lw {

double screenTwipsPerPixelX()
{
    static const double twips = [] {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const double dpi = screen ? screen->logicalDotsPerInchX() : design::kDpi;
        return 1440.0 / (dpi > 0 ? dpi : design::kDpi);
    }();
    return twips;
}

} // namespace lw
