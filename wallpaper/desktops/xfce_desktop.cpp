// Xfce keeps a backdrop per monitor and workspace in xfconf, named by the monitor's name as
// xfdesktop knows it; xfdesktop draws them.
#include "wallpaper/desktops/desktop_ways.h"

#include "wallpaper/desktops/root_beside_windows.h"
#include "wallpaper/x11/x11_desktop_windows.h"

#include <algorithm>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>

namespace tidepool {

namespace {

namespace fs = std::filesystem;

constexpr const char* kTool = "xfconf-query";
// Image styles: 1 is centred, the monitor's own picture unscaled; 2 tiles a picture from the
// corner of the monitor's window.
constexpr const char* kCentred = "1";
constexpr const char* kTiled = "2";

// The backdrops xfconf holds, by the monitor's name.
std::map<std::string, std::vector<std::string>> Backdrops(const std::string& listed) {
    static const std::regex kBackdrop(
        R"(/backdrop/screen\d+/monitor([^/]+)/workspace\d+/last-image)");
    std::map<std::string, std::vector<std::string>> backdrops;
    std::istringstream lines(listed);
    for (std::string property; std::getline(lines, property);) {
        std::smatch match;
        if (std::regex_match(property, match, kBackdrop))
            backdrops[match[1]].push_back(property);
    }
    return backdrops;
}

std::string NewBackdrop(const std::string& monitor) {
    return "/backdrop/screen0/monitor" + monitor + "/workspace0/last-image";
}

std::string StyleOf(const std::string& backdrop) {
    return backdrop.substr(0, backdrop.rfind('/')) + "/image-style";
}

struct Setting {
    std::string property;
    std::string type;
    std::string value;
};

// Each screen's picture on every backdrop of its monitor, a first one made where it has none.
std::vector<Setting> PerMonitor(const std::map<std::string, std::vector<std::string>>& backdrops,
                                const std::vector<Screen>& screens,
                                const std::vector<fs::path>& files) {
    std::vector<Setting> settings;
    for (std::size_t i = 0; i < screens.size(); ++i) {
        const auto found = backdrops.find(screens[i].name);
        const std::vector<std::string> own =
            found == backdrops.end() ? std::vector<std::string>{NewBackdrop(screens[i].name)}
                                     : found->second;
        for (const std::string& backdrop : own) {
            settings.push_back({StyleOf(backdrop), "int", kCentred});
            settings.push_back({backdrop, "string", files[i].string()});
        }
    }
    return settings;
}

// The whole desktop's picture, tiled, on every backdrop xfdesktop has made.
std::vector<Setting> WholeDesktop(const std::map<std::string, std::vector<std::string>>& backdrops,
                                  const std::vector<Screen>& screens, const fs::path& file) {
    std::vector<std::string> all;
    for (const auto& [monitor, own] : backdrops)
        all.insert(all.end(), own.begin(), own.end());
    if (all.empty())
        for (const Screen& screen : screens)
            all.push_back(NewBackdrop(screen.name));
    std::vector<Setting> settings;
    for (const std::string& backdrop : all) {
        settings.push_back({StyleOf(backdrop), "int", kTiled});
        settings.push_back({backdrop, "string", file.string()});
    }
    return settings;
}

bool KnowsEveryScreen(const std::map<std::string, std::vector<std::string>>& backdrops,
                      const std::vector<Screen>& screens) {
    return std::all_of(screens.begin(), screens.end(),
                       [&](const Screen& screen) { return backdrops.count(screen.name) != 0; });
}

// Writes every setting, making the properties that are missing; the first run that failed, if any.
std::optional<ToolRun> WriteSettings(const ToolRunner& runner,
                                     const std::vector<Setting>& settings) {
    for (const Setting& setting : settings)
        if (ToolRun set = runner.run({kTool,
                                      {"-c", "xfce4-desktop", "-p", setting.property, "-n", "-t",
                                       setting.type, "-s", setting.value}});
            !set.ok())
            return set;
    return std::nullopt;
}

// The first setting that does not read back as written; null when every one does.
const Setting* FirstNotKept(const ToolRunner& runner, const std::vector<Setting>& settings) {
    for (const Setting& setting : settings) {
        const ToolRun read = runner.run({kTool, {"-c", "xfce4-desktop", "-p", setting.property}});
        std::string value = read.output;
        while (!value.empty() && value.back() == '\n')
            value.pop_back();
        if (!read.ok() || value != setting.value)
            return &setting;
    }
    return nullptr;
}

} // namespace

WayResult ApplyOnXfce(const DesktopContext& context) {
    WayResult result{Way::DesktopTool, false, WayReason::None, kTool, "", ""};
    if (!DesktopWindowShown(Lookup(context.environment, "DISPLAY"), "xfdesktop")) {
        result.reason = WayReason::NothingDraws;
        result.detail = "xfdesktop is not running";
        return result;
    }
    const ToolRun listed = context.runner.run({kTool, {"-c", "xfce4-desktop", "-l"}});
    if (!listed.ok())
        return ToolWayResult(kTool, listed);
    const auto backdrops = Backdrops(listed.output);
    // Monitors xfdesktop names otherwise than the toolkit (RandR monitors on one output, which
    // people make of an ultrawide screen) would keep their old picture. xfdesktop's window then
    // covers only the monitors it knows, from the desktop's corner: it gets the whole desktop's
    // picture tiled, which starts there, and the root window beside it the tiling.
    const bool perMonitor = KnowsEveryScreen(backdrops, context.screens);
    const Pictures pictures =
        context.pictures(perMonitor ? PictureSet::OnePerScreen : PictureSet::OneForAll);
    if (!pictures.ok())
        return NoPicturesResult(kTool, pictures);
    const std::vector<Setting> settings =
        perMonitor ? PerMonitor(backdrops, context.screens, pictures.files)
                   : WholeDesktop(backdrops, context.screens, pictures.files.front());

    if (const std::optional<ToolRun> failed = WriteSettings(context.runner, settings))
        return ToolWayResult(kTool, *failed);
    if (const Setting* lost = FirstNotKept(context.runner, settings)) {
        result.reason = WayReason::NotKept;
        result.detail = lost->property;
        return result;
    }
    result.applied = true;
    result.checked = std::to_string(settings.size()) + " xfconf properties read back (" +
                     (perMonitor ? "a picture per monitor" : "the whole desktop's picture") +
                     "); xfdesktop is running";
    ShowBesideDesktopWindows(context, "xfdesktop", result);
    return result;
}

} // namespace tidepool
