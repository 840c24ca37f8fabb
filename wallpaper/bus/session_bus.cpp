#include "wallpaper/bus/session_bus.h"

#include <filesystem>

namespace tidepool {

QDBusConnection SessionBus(const Environment& environment) {
    std::string address = Lookup(environment, "DBUS_SESSION_BUS_ADDRESS");
    const std::filesystem::path runtime = Lookup(environment, "XDG_RUNTIME_DIR");
    std::error_code ignored;
    if (address.empty() && runtime.is_absolute() &&
        std::filesystem::exists(runtime / "bus", ignored))
        address = "unix:path=" + (runtime / "bus").string();
    const QString name = QStringLiteral("tidepool-session-bus ") + QString::fromStdString(address);
    if (address.empty())
        return QDBusConnection(name);
    return QDBusConnection::connectToBus(QString::fromStdString(address), name);
}

} // namespace tidepool
