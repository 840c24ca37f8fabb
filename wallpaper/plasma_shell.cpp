// KDE Plasma keeps a desktop per screen, each with its own picture: plasma-apply-wallpaperimage
// sets them all alike, so with several screens each is given its own through the shell's
// scripting interface on the session bus.
#include "wallpaper/desktop_ways.h"

#include "wallpaper/bus_call.h"
#include "wallpaper/file_uri.h"
#include "wallpaper/session_bus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QJsonArray>
#include <QJsonDocument>

namespace tidepool {

namespace {

constexpr const char* kShell = "org.kde.plasmashell";

// The script sets every desktop whose screen has a picture; FillMode 2 is "scaled and cropped",
// which shows a picture of the screen's own size unscaled.
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

WayResult ThroughShellScript(const std::vector<std::filesystem::path>& files,
                             const DesktopContext& context) {
    WayResult result{Way::DesktopTool, false, WayReason::None, "plasmashell", "", ""};
    QDBusConnection bus = SessionBus(context.environment);
    if (!bus.isConnected()) {
        result.reason = WayReason::NoSessionBus;
        return result;
    }
    if (!BusNameHasOwner(context.environment, kShell, context.deadline)) {
        result.reason = WayReason::ToolMissing;
        return result;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromLatin1(kShell), QStringLiteral("/PlasmaShell"),
        QStringLiteral("org.kde.PlasmaShell"), QStringLiteral("evaluateScript"));
    call << Script(files);
    const QDBusMessage reply = CallAndWait(bus, call, context.deadline);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        const bool timedOut =
            reply.errorName() == QStringLiteral("org.freedesktop.DBus.Error.NoReply");
        result.reason = timedOut ? WayReason::NoAnswer : WayReason::ToolFailed;
        result.detail = reply.errorMessage().toStdString();
        return result;
    }
    result.applied = true;
    result.checked = "plasmashell ran the script without an error (not read back)";
    return result;
}

} // namespace

WayResult ApplyOnPlasma(const DesktopContext& context) {
    const bool several = context.screens.size() > 1;
    const std::string tool = several ? "plasmashell" : "plasma-apply-wallpaperimage";
    const Pictures pictures =
        context.pictures(several ? PictureSet::OnePerScreen : PictureSet::OneForAll);
    if (!pictures.ok())
        return NoPicturesResult(tool, pictures);
    if (several)
        return ThroughShellScript(pictures.files, context);

    if (const ToolRun run = context.runner.run({tool, {pictures.files.front().string()}});
        !run.ok())
        return ToolWayResult(tool, run);
    WayResult result{Way::DesktopTool, false, WayReason::None, tool, "", ""};
    if (!BusNameHasOwner(context.environment, kShell, context.deadline)) {
        result.reason = WayReason::NothingDraws;
        result.detail = "plasmashell is not running";
        return result;
    }
    result.applied = true;
    result.checked = "plasmashell is running (the setting is not read back)";
    return result;
}

} // namespace tidepool
