#include "wallpaper/desktop_tools.h"

#include "wallpaper/file_uri.h"
#include "wallpaper/plasma_shell.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <regex>
#include <sstream>

namespace tidepool {

namespace {

namespace fs = std::filesystem;

// The picture keys of the desktops configured through gsettings.
struct GsettingsSchema {
    const char* schema;
    const char* pictureKey;
    bool takesUri;       // a file:// address rather than a path
    const char* darkKey; // the dark style's own picture, or null
};

const GsettingsSchema* SchemaOf(Desktop desktop) {
    static constexpr GsettingsSchema kGnome{"org.gnome.desktop.background", "picture-uri", true,
                                            "picture-uri-dark"};
    static constexpr GsettingsSchema kCinnamon{"org.cinnamon.desktop.background", "picture-uri",
                                               true, nullptr};
    static constexpr GsettingsSchema kMate{"org.mate.background", "picture-filename", false,
                                           nullptr};
    switch (desktop) {
    case Desktop::Gnome:
        return &kGnome;
    case Desktop::Cinnamon:
        return &kCinnamon;
    case Desktop::Mate:
        return &kMate;
    default:
        return nullptr;
    }
}

WayResult ToolResult(const std::string& tool, const ToolRun& run) {
    WayResult result{Way::DesktopTool, run.ok(), WayReason::None, tool, run.reason};
    switch (run.status) {
    case ToolRun::Status::Succeeded:
        result.detail.clear();
        break;
    case ToolRun::Status::Missing:
        result.reason = WayReason::ToolMissing;
        result.detail.clear();
        break;
    case ToolRun::Status::Failed:
        result.reason = WayReason::ToolFailed;
        break;
    case ToolRun::Status::TimedOut:
        result.reason = WayReason::NoAnswer;
        break;
    }
    return result;
}

// Runs the commands in order, stopping at the first that fails.
WayResult RunAll(const std::string& tool, const std::vector<ToolCommand>& commands,
                 const ToolRunner& runner) {
    for (const ToolCommand& command : commands)
        if (const ToolRun run = runner.run(command); !run.ok())
            return ToolResult(tool, run);
    return ToolResult(tool, ToolRun{ToolRun::Status::Succeeded, {}, {}});
}

// GNOME, Cinnamon and MATE: one picture, spanned over several screens and zoomed on one, which
// shows a picture of the screen's own size unscaled even on a scaled (HiDPI) screen.
WayResult ApplyWithGsettings(const GsettingsSchema& schema, const fs::path& file, int screens,
                             const ToolRunner& runner) {
    const std::string picture = schema.takesUri ? FileUri(file) : file.string();
    std::vector<ToolCommand> commands{
        {"gsettings", {"set", schema.schema, "picture-options", screens > 1 ? "spanned" : "zoom"}},
        {"gsettings", {"set", schema.schema, schema.pictureKey, picture}}};
    if (schema.darkKey != nullptr) {
        const ToolRun keys = runner.run({"gsettings", {"list-keys", schema.schema}});
        if (!keys.ok())
            return ToolResult("gsettings", keys);
        std::istringstream lines(keys.output);
        for (std::string key; std::getline(lines, key);)
            if (key == schema.darkKey)
                commands.push_back({"gsettings", {"set", schema.schema, schema.darkKey, picture}});
    }
    return RunAll("gsettings", commands, runner);
}

// Xfce keeps a picture per monitor and workspace: every backdrop already there is set to its
// monitor's picture, and a first workspace's backdrop is made for a monitor that has none.
WayResult ApplyWithXfconf(const std::vector<fs::path>& files, const std::vector<Screen>& screens,
                          const ToolRunner& runner) {
    const ToolRun listed = runner.run({"xfconf-query", {"-c", "xfce4-desktop", "-l"}});
    if (!listed.ok())
        return ToolResult("xfconf-query", listed);
    static const std::regex kBackdrop(
        R"(/backdrop/screen\d+/monitor([^/]+)/workspace\d+/last-image)");
    std::vector<std::pair<std::string, fs::path>> backdrops;
    std::vector<bool> covered(screens.size(), false);
    std::istringstream lines(listed.output);
    for (std::string property; std::getline(lines, property);) {
        std::smatch match;
        if (!std::regex_match(property, match, kBackdrop))
            continue;
        for (std::size_t i = 0; i < screens.size(); ++i) {
            if (match[1] == screens[i].name) {
                backdrops.emplace_back(property, files[i]);
                covered[i] = true;
            }
        }
    }
    for (std::size_t i = 0; i < screens.size(); ++i)
        if (!covered[i])
            backdrops.emplace_back(
                "/backdrop/screen0/monitor" + screens[i].name + "/workspace0/last-image", files[i]);

    std::vector<ToolCommand> commands;
    for (const auto& [property, file] : backdrops) {
        const std::string style = property.substr(0, property.rfind('/')) + "/image-style";
        // Image style 1 is "centred": the monitor's own picture, unscaled.
        commands.push_back(
            {"xfconf-query", {"-c", "xfce4-desktop", "-p", style, "-n", "-t", "int", "-s", "1"}});
        commands.push_back(
            {"xfconf-query",
             {"-c", "xfce4-desktop", "-p", property, "-n", "-t", "string", "-s", file.string()}});
    }
    return RunAll("xfconf-query", commands, runner);
}

WayResult ApplyWithSwaymsg(const std::vector<fs::path>& files, const std::vector<Screen>& screens,
                           const ToolRunner& runner) {
    std::vector<ToolCommand> commands;
    for (std::size_t i = 0; i < screens.size(); ++i)
        commands.push_back(
            {"swaymsg", {"output", screens[i].name, "bg", files[i].string(), "fill"}});
    return RunAll("swaymsg", commands, runner);
}

} // namespace

PictureSet DesktopPictures(Desktop desktop, int screens) {
    switch (desktop) {
    case Desktop::Xfce:
    case Desktop::Sway:
    case Desktop::Lxqt:
        return PictureSet::OnePerScreen;
    case Desktop::Kde:
        return screens > 1 ? PictureSet::OnePerScreen : PictureSet::OneForAll;
    default:
        return PictureSet::OneForAll;
    }
}

std::string DesktopToolProgram(Desktop desktop, int screens) {
    switch (desktop) {
    case Desktop::Gnome:
    case Desktop::Cinnamon:
    case Desktop::Mate:
        return "gsettings";
    case Desktop::Xfce:
        return "xfconf-query";
    case Desktop::Kde:
        return screens > 1 ? "" : "plasma-apply-wallpaperimage";
    case Desktop::Lxqt:
        return "pcmanfm-qt";
    case Desktop::Sway:
        return "swaymsg";
    case Desktop::None:
    case Desktop::Unknown:
        return "";
    }
    return "";
}

WayResult ApplyWithDesktopTool(Desktop desktop, const std::vector<fs::path>& files,
                               const std::vector<Screen>& screens, const ToolRunner& runner,
                               const Environment& environment, std::chrono::milliseconds limit) {
    const int count = static_cast<int>(screens.size());
    if (const GsettingsSchema* schema = SchemaOf(desktop))
        return ApplyWithGsettings(*schema, files.front(), count, runner);
    switch (desktop) {
    case Desktop::Xfce:
        return ApplyWithXfconf(files, screens, runner);
    case Desktop::Sway:
        return ApplyWithSwaymsg(files, screens, runner);
    case Desktop::Kde:
        if (count > 1)
            return ApplyThroughPlasmaShell(files, environment, limit);
        return RunAll("plasma-apply-wallpaperimage",
                      {{"plasma-apply-wallpaperimage", {files.front().string()}}}, runner);
    case Desktop::Lxqt:
        // pcmanfm-qt shows one picture on every screen: the first screen's, unscaled there.
        return RunAll("pcmanfm-qt",
                      {{"pcmanfm-qt",
                        {"--set-wallpaper", files.front().string(), "--wallpaper-mode", "center"}}},
                      runner);
    default:
        return {Way::DesktopTool, false, WayReason::NoToolForDesktop, "", ""};
    }
}

std::vector<Screen> SwayScreens(const ToolRunner& runner, std::string& error) {
    const ToolRun run = runner.run({"swaymsg", {"-t", "get_outputs", "-r"}});
    if (!run.ok()) {
        error = run.reason;
        return {};
    }
    std::vector<Screen> screens;
    const QJsonArray outputs =
        QJsonDocument::fromJson(QByteArray::fromStdString(run.output)).array();
    for (const QJsonValue& value : outputs) {
        const QJsonObject output = value.toObject();
        if (!output.value("active").toBool())
            continue;
        const QJsonObject rect = output.value("rect").toObject();
        screens.push_back({output.value("name").toString().toStdString(), rect.value("x").toInt(),
                           rect.value("y").toInt(), rect.value("width").toInt(),
                           rect.value("height").toInt(), output.value("scale").toDouble(1)});
    }
    if (screens.empty())
        error = "swaymsg reported no active output";
    return screens;
}

} // namespace tidepool
