#include "wallpaper/plasma_shell.h"

#include "wallpaper/bus_call.h"
#include "wallpaper/file_uri.h"
#include "wallpaper/session_bus.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QJsonArray>
#include <QJsonDocument>

namespace tidepool {

namespace {

constexpr const char* kTool = "plasmashell";

// The script sets every desktop whose screen has a picture; FillMode 2 is "scaled and cropped".
QString Script(const std::vector<std::filesystem::path>& files) {
    QJsonArray uris;
    for (const std::filesystem::path& file : files)
        uris.append(QString::fromStdString(FileUri(file)));
    const QString list = QString::fromUtf8(QJsonDocument(uris).toJson(QJsonDocument::Compact));
    return QStringLiteral("var pictures = %1;\n"
                          "desktops().forEach(function (d) {\n"
                          "    if (d.screen < 0 || d.screen >= pictures.length) return;\n"
                          "    d.wallpaperPlugin = 'org.kde.image';\n"
                          "    d.currentConfigGroup = ['Wallpaper', 'org.kde.image', 'General'];\n"
                          "    d.writeConfig('Image', pictures[d.screen]);\n"
                          "    d.writeConfig('FillMode', 2);\n"
                          "});\n")
        .arg(list);
}

} // namespace

WayResult ApplyThroughPlasmaShell(const std::vector<std::filesystem::path>& files,
                                  const Environment& environment, std::chrono::milliseconds limit) {
    WayResult result{Way::DesktopTool, false, WayReason::None, kTool, ""};
    QDBusConnection bus = SessionBus(environment);
    if (!bus.isConnected()) {
        result.reason = WayReason::NoSessionBus;
        return result;
    }
    if (!bus.interface()->isServiceRegistered(QStringLiteral("org.kde.plasmashell"))) {
        result.reason = WayReason::ToolMissing;
        return result;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.kde.plasmashell"), QStringLiteral("/PlasmaShell"),
        QStringLiteral("org.kde.PlasmaShell"), QStringLiteral("evaluateScript"));
    call << Script(files);
    const QDBusMessage reply = CallAndWait(bus, call, limit);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        const bool timedOut =
            reply.errorName() == QStringLiteral("org.freedesktop.DBus.Error.NoReply");
        result.reason = timedOut ? WayReason::NoAnswer : WayReason::ToolFailed;
        result.detail = reply.errorMessage().toStdString();
        return result;
    }
    result.applied = true;
    return result;
}

} // namespace tidepool
