#include "wallpaper/core/qt_screens.h"

#include <QGuiApplication>
#include <QScreen>

namespace tidepool {

std::vector<Screen> DesktopScreens() {
    std::vector<Screen> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->geometry();
        screens.push_back({screen->name().toStdString(), area.x(), area.y(), area.width(),
                           area.height(), screen->devicePixelRatio()});
    }
    return screens;
}

} // namespace tidepool
