// KDE Plasma keeps a desktop per screen, each with its own picture and fill mode, in its shell:
// each desktop is given its screen's picture through the shell's scripting interface on the
// session bus, and read back the same way. plasma-apply-wallpaperimage, which sets one picture on
// every desktop, is not used: it writes the path into such a script itself, and so refuses any
// path holding a single quote.
#include "wallpaper/desktops/desktop_ways.h"

#include "wallpaper/bus/bus_call.h"
#include "wallpaper/bus/session_bus.h"
#include "wallpaper/core/file_uri.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QJsonArray>
#include <QJsonDocument>

#include <optional>

namespace tidepool {

namespace {

constexpr const char* kShell = "org.kde.plasmashell";

// The script sets every desktop whose screen has a picture; FillMode 2 is "scaled and cropped",
// which shows a picture of the screen's own size unscaled.
QString WriteScript(const QStringList& uris) {
    const QString list = QString::fromUtf8(
        QJsonDocument(QJsonArray::fromStringList(uris)).toJson(QJsonDocument::Compact));
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

// Prints each desktop's screen, wallpaper plug-in, fill mode and picture, a line each.
const QString kReadScript = QStringLiteral(
    "desktops().forEach(function (d) {\n"
    "    d.currentConfigGroup = ['Wallpaper', 'org.kde.image', 'General'];\n"
    "    print([d.screen, d.wallpaperPlugin, d.readConfig('FillMode'), d.readConfig('Image')]\n"
    "          .join(' ') + '\\n');\n"
    "});\n");

// Runs a script in the shell within the deadline: what it printed, or why it did not run, in
// result.
std::optional<QString> RunScript(QDBusConnection& bus, const QString& script,
                                 const Deadline& deadline, WayResult& result) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromLatin1(kShell), QStringLiteral("/PlasmaShell"),
        QStringLiteral("org.kde.PlasmaShell"), QStringLiteral("evaluateScript"));
    call << script;
    const QDBusMessage reply = CallAndWait(bus, call, deadline);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        const bool timedOut =
            reply.errorName() == QStringLiteral("org.freedesktop.DBus.Error.NoReply");
        result.reason = timedOut ? WayReason::NoAnswer : WayReason::ToolFailed;
        result.detail = reply.errorMessage().toStdString();
        return std::nullopt;
    }
    return reply.arguments().value(0).toString();
}

// The screens, counted from 1, whose desktop does not hold its picture in the fill mode written,
// as the read script printed them: "1, 2"; empty when every one does.
std::string ScreensNotKept(const QString& printed, const QStringList& uris) {
    const QStringList lines = printed.split(QLatin1Char('\n'));
    std::string notKept;
    for (int screen = 0; screen < uris.size(); ++screen) {
        const QString kept = QStringLiteral("%1 org.kde.image 2 %2").arg(screen).arg(uris[screen]);
        if (!lines.contains(kept))
            notKept += (notKept.empty() ? "" : ", ") + std::to_string(screen + 1);
    }
    return notKept;
}

} // namespace

WayResult ApplyOnPlasma(const DesktopContext& context) {
    const Pictures pictures = context.pictures(PictureSet::OnePerScreen);
    if (!pictures.ok())
        return NoPicturesResult("plasmashell", pictures);
    QStringList uris;
    for (const std::filesystem::path& file : pictures.files)
        uris << QString::fromStdString(FileUri(file));
    WayResult result{Way::DesktopTool, false, WayReason::None, "plasmashell", "", ""};
    QDBusConnection bus = SessionBus(context.environment);
    if (!bus.isConnected()) {
        result.reason = WayReason::NoSessionBus;
        return result;
    }
    if (!BusNameHasOwner(context.environment, kShell, context.deadline)) {
        result.reason = WayReason::NothingDraws;
        result.detail = "plasmashell is not running";
        return result;
    }

    if (!RunScript(bus, WriteScript(uris), context.deadline, result))
        return result;
    const std::optional<QString> printed = RunScript(bus, kReadScript, context.deadline, result);
    if (!printed)
        return result;
    if (const std::string notKept = ScreensNotKept(*printed, uris); !notKept.empty()) {
        result.reason = WayReason::NotKept;
        result.detail = "the desktop of screen " + notKept;
        return result;
    }
    result.applied = true;
    result.checked = "each screen's desktop read back from plasmashell";
    return result;
}

} // namespace tidepool
