#pragma once

#include "wallpaper/apply_wallpaper.h"

#include <QCoreApplication>

#include <memory>

namespace tidepool::cli {

// The application object putting a wallpaper on the desktop needs, and the session it finds:
// a QGuiApplication, which knows the screens, when the window system can be reached (Qt's own
// choice when QT_QPA_PLATFORM is set, Wayland where Qt has its plug-in, X11 where the display
// answers), a plain one otherwise, whose session then has no screens and says why. Asking Qt for
// a window system it cannot reach would end the program.
struct DesktopConnection {
    std::unique_ptr<QCoreApplication> application;
    DesktopSession session;
};
DesktopConnection ConnectToDesktop(int& argc, char** argv);

} // namespace tidepool::cli
