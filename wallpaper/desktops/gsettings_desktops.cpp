// GNOME, Cinnamon and MATE keep their background in gsettings: one picture, spanned over several
// screens and zoomed on one, which shows a picture of the screen's own size unscaled even on a
// scaled (HiDPI) screen.
#include "wallpaper/desktops/desktop_ways.h"

#include "wallpaper/bus/bus_call.h"
#include "wallpaper/core/file_uri.h"
#include "wallpaper/desktops/root_beside_windows.h"
#include "wallpaper/x11/x11_desktop_windows.h"

#include <sstream>

namespace tidepool {

namespace {

// What draws the background once the setting took.
struct Drawer {
    enum class Kind { BusName, DesktopWindow } kind;
    const char* name; // the bus name it owns, or its desktop window's class
};

struct GsettingsDesktop {
    const char* schema;
    const char* pictureKey;
    bool takesUri;       // a file:// address rather than a path
    const char* darkKey; // the dark style's own picture, or null
    Drawer drawer;
};

constexpr GsettingsDesktop kGnome{"org.gnome.desktop.background",
                                  "picture-uri",
                                  true,
                                  "picture-uri-dark",
                                  {Drawer::Kind::BusName, "org.gnome.Shell"}};
constexpr GsettingsDesktop kCinnamon{"org.cinnamon.desktop.background",
                                     "picture-uri",
                                     true,
                                     nullptr,
                                     {Drawer::Kind::BusName, "org.Cinnamon"}};
constexpr GsettingsDesktop kMate{"org.mate.background",
                                 "picture-filename",
                                 false,
                                 nullptr,
                                 {Drawer::Kind::DesktopWindow, "caja"}};

// gsettings prints a string as a GVariant text: in single quotes (double where it holds a single
// quote), with backslash escapes.
std::string UnquoteVariant(const std::string& printed) {
    std::string text = printed;
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    if (text.size() < 2 || (text.front() != '\'' && text.front() != '"') ||
        text.back() != text.front())
        return text;
    std::string value;
    for (std::size_t i = 1; i + 1 < text.size(); ++i) {
        if (text[i] == '\\' && i + 2 < text.size())
            ++i;
        value += text[i];
    }
    return value;
}

// The keys read back that do not hold what was written, one name each.
std::string KeysNotKept(const DesktopContext& context, const char* schema,
                        const std::vector<std::pair<std::string, std::string>>& written) {
    std::string notKept;
    for (const auto& [key, value] : written) {
        const ToolRun read = context.runner.run({"gsettings", {"get", schema, key}});
        if (!read.ok() || UnquoteVariant(read.output) != value)
            notKept += (notKept.empty() ? "" : ", ") + key;
    }
    return notKept;
}

bool DrawerRuns(const Drawer& drawer, const DesktopContext& context) {
    if (drawer.kind == Drawer::Kind::BusName)
        return BusNameHasOwner(context.environment, drawer.name, context.deadline);
    return DesktopWindowShown(Lookup(context.environment, "DISPLAY"), drawer.name);
}

WayResult ApplyWithGsettings(const GsettingsDesktop& desktop, const DesktopContext& context) {
    WayResult result{Way::DesktopTool, false, WayReason::None, "gsettings", "", ""};
    // Nothing is changed for a desktop whose program that would show it is not there.
    if (!DrawerRuns(desktop.drawer, context)) {
        result.reason = WayReason::NothingDraws;
        result.detail = std::string(desktop.drawer.name) + " is not running";
        return result;
    }
    const Pictures pictures = context.pictures(PictureSet::OneForAll);
    if (!pictures.ok())
        return NoPicturesResult("gsettings", pictures);
    const std::filesystem::path& file = pictures.files.front();
    const std::string picture = desktop.takesUri ? FileUri(file) : file.string();
    std::vector<std::pair<std::string, std::string>> keys{
        {"picture-options", context.screens.size() > 1 ? "spanned" : "zoom"},
        {desktop.pictureKey, picture}};
    if (desktop.darkKey != nullptr) {
        const ToolRun listed = context.runner.run({"gsettings", {"list-keys", desktop.schema}});
        if (!listed.ok())
            return ToolWayResult("gsettings", listed);
        std::istringstream lines(listed.output);
        for (std::string key; std::getline(lines, key);)
            if (key == desktop.darkKey)
                keys.emplace_back(desktop.darkKey, picture);
    }
    for (const auto& [key, value] : keys)
        if (const ToolRun set =
                context.runner.run({"gsettings", {"set", desktop.schema, key, value}});
            !set.ok())
            return ToolWayResult("gsettings", set);

    if (std::string notKept = KeysNotKept(context, desktop.schema, keys); !notKept.empty()) {
        result.reason = WayReason::NotKept;
        result.detail = std::string(desktop.schema) + " " + notKept;
        return result;
    }
    result.applied = true;
    result.checked =
        std::string(desktop.schema) + " read back; " + desktop.drawer.name + " is running";
    if (desktop.drawer.kind == Drawer::Kind::DesktopWindow)
        ShowBesideDesktopWindows(context, desktop.drawer.name, result);
    return result;
}

} // namespace

WayResult ApplyOnGnome(const DesktopContext& context) {
    return ApplyWithGsettings(kGnome, context);
}

WayResult ApplyOnCinnamon(const DesktopContext& context) {
    return ApplyWithGsettings(kCinnamon, context);
}

WayResult ApplyOnMate(const DesktopContext& context) {
    return ApplyWithGsettings(kMate, context);
}

} // namespace tidepool
