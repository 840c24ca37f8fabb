#include "cli/desktop_connection.h"

#include "wallpaper/core/qt_screens.h"
#include "wallpaper/x11/x11_root.h"

#include <QDir>
#include <QGuiApplication>
#include <QLibraryInfo>

namespace tidepool::cli {

namespace {

bool QtCanReachWayland() {
    const QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms");
    return !platforms.entryList({QStringLiteral("libqwayland*")}).isEmpty();
}

// The platform plug-in to ask for, or empty when no window system can be reached.
QByteArray ReachablePlatform(const Environment& environment) {
    if (const std::string chosen = Lookup(environment, "QT_QPA_PLATFORM"); !chosen.empty())
        return QByteArray::fromStdString(chosen);
    if (!Lookup(environment, "WAYLAND_DISPLAY").empty() && QtCanReachWayland())
        return "wayland";
    if (const std::string display = Lookup(environment, "DISPLAY");
        !display.empty() && X11DisplayAnswers(display))
        return "xcb";
    return {};
}

} // namespace

DesktopConnection ConnectToDesktop(int& argc, char** argv) {
    DesktopConnection connection;
    connection.session.environment = ProcessEnvironment();
    const QByteArray platform = ReachablePlatform(connection.session.environment);
    if (platform.isEmpty()) {
        connection.application = std::make_unique<QCoreApplication>(argc, argv);
        connection.session.screensError = "no display to learn the screens from";
        return connection;
    }
    qputenv("QT_QPA_PLATFORM", platform);
    connection.application = std::make_unique<QGuiApplication>(argc, argv);
    connection.session.screens = DesktopScreens();
    return connection;
}

} // namespace tidepool::cli
