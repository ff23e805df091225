#include "window/screen.hpp"

#include <QGuiApplication>
#include <QScreen>

namespace lw {

double screenTwipsPerPixelX()
{
    static const double twips = [] {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
        return 1440.0 / (dpi > 0 ? dpi : 96.0);
    }();
    return twips;
}

} // namespace lw
