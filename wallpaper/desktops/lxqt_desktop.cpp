// LXQt's desktop is pcmanfm-qt's: one desktop window over the whole virtual screen, however many
// screens there are, showing one picture. The picture of the whole desktop tiled from the window's
// corner, which is the desktop's, is the tiling 1:1 on every screen, and stays right on the part
// a window left smaller shows.
#include "wallpaper/desktops/desktop_ways.h"

#include "wallpaper/desktops/root_beside_windows.h"
#include "wallpaper/x11/x11_desktop_windows.h"

#include <QSettings>
#include <QString>

namespace tidepool {

namespace {

namespace fs = std::filesystem;

constexpr const char* kTool = "pcmanfm-qt";
constexpr const char* kUnscaled = "tile";

fs::path ConfigHome(const Environment& environment) {
    const fs::path configHome = Lookup(environment, "XDG_CONFIG_HOME");
    if (configHome.is_absolute())
        return configHome;
    return fs::path(Lookup(environment, "HOME")) / ".config";
}

// The settings file of the profile that took the picture: the running desktop's, whichever
// profile it was started with.
fs::path SettingsNaming(const fs::path& configHome, const fs::path& file) {
    std::error_code error;
    for (const fs::directory_entry& profile :
         fs::directory_iterator(configHome / "pcmanfm-qt", error)) {
        const fs::path settings = profile.path() / "settings.conf";
        if (!fs::is_regular_file(settings, error))
            continue;
        const QSettings read(QString::fromStdString(settings.string()), QSettings::IniFormat);
        if (read.value(QStringLiteral("Desktop/Wallpaper")).toString().toStdString() ==
            file.string())
            return settings;
    }
    return {};
}

// pcmanfm-qt shows the mode it is given but saves its old one, the one it started with, now and
// again when it quits. Written here, the mode holds until then, and for a desktop process that
// ends without saving. Where the old mode comes back it is harmless while the screens stay as
// they are: the picture is the whole desktop's at its size, so even stretched it shows 1:1.
bool KeepUnscaledMode(const fs::path& settings) {
    QSettings write(QString::fromStdString(settings.string()), QSettings::IniFormat);
    write.setValue(QStringLiteral("Desktop/WallpaperMode"), QString::fromLatin1(kUnscaled));
    write.sync();
    const QSettings read(QString::fromStdString(settings.string()), QSettings::IniFormat);
    return write.status() == QSettings::NoError &&
           read.value(QStringLiteral("Desktop/WallpaperMode")).toString() ==
               QString::fromLatin1(kUnscaled);
}

} // namespace

WayResult ApplyOnLxqt(const DesktopContext& context) {
    WayResult result{Way::DesktopTool, false, WayReason::None, kTool, "", ""};
    // Without its desktop, pcmanfm-qt would start a file manager that shows nothing.
    if (!DesktopWindowShown(Lookup(context.environment, "DISPLAY"), kTool)) {
        result.reason = WayReason::NothingDraws;
        result.detail = "pcmanfm-qt --desktop is not running";
        return result;
    }
    const Pictures pictures = context.pictures(PictureSet::OneForAll);
    if (!pictures.ok())
        return NoPicturesResult(kTool, pictures);
    const fs::path& file = pictures.files.front();
    if (const ToolRun run = context.runner.run(
            {kTool, {"--set-wallpaper", file.string(), "--wallpaper-mode", kUnscaled}});
        !run.ok())
        return ToolWayResult(kTool, run);

    const fs::path configHome = ConfigHome(context.environment);
    fs::path settings;
    if (!PollUntil(context.deadline,
                   [&] { return !(settings = SettingsNaming(configHome, file)).empty(); })) {
        result.reason = WayReason::NotKept;
        result.detail =
            "no settings file in " + (configHome / "pcmanfm-qt").string() + " names the picture";
        return result;
    }
    if (!KeepUnscaledMode(settings)) {
        result.reason = WayReason::NotKept;
        result.detail = "cannot keep the mode in " + settings.string();
        return result;
    }
    result.applied = true;
    result.checked = settings.string() + " names the picture, tiled; pcmanfm-qt's desktop is "
                                         "running";
    ShowBesideDesktopWindows(context, kTool, result);
    return result;
}

} // namespace tidepool
