// sway shows a picture per output, drawn by the swaybg it starts. What swaymsg is given goes
// through sway's command parser and then through word expansion, which would run a command
// substitution in a folder's name: only text that needs no quoting at all is handed over.
#include "wallpaper/desktops/desktop_ways.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <fstream>

namespace tidepool {

namespace {

namespace fs = std::filesystem;

constexpr const char* kTool = "swaymsg";

// A picture sway can be given: the stored one where its path is safe, else a copy in the
// session's runtime folder, which is the user's own. Empty, with the reason, when neither is.
fs::path SafePicture(const fs::path& file, const Environment& environment, std::string& error) {
    if (SafeForSway(file.string()))
        return file;
    const fs::path runtime = Lookup(environment, "XDG_RUNTIME_DIR");
    const fs::path folder = runtime / "tidepool";
    const fs::path copy = folder / file.filename();
    if (!runtime.is_absolute() || !SafeForSway(copy.string())) {
        error = "neither " + file.string() +
                " nor the runtime folder (XDG_RUNTIME_DIR) is free "
                "of characters sway would expand";
        return {};
    }
    std::error_code failed;
    fs::create_directory(folder, failed);
    if (!failed)
        fs::permissions(folder, fs::perms::owner_all, failed);
    if (!failed)
        fs::copy_file(file, copy, fs::copy_options::overwrite_existing, failed);
    if (failed) {
        error = "cannot copy the picture to " + folder.string() + ": " + failed.message();
        return {};
    }
    return copy;
}

// The copies of earlier applications in the runtime folder, which sway no longer shows once
// swaybg has the new ones.
void RemoveOlderCopies(const fs::path& folder, const std::vector<fs::path>& shown) {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        const std::string extension = entry.path().extension().string();
        const bool ours =
            name.rfind("wallpaper-", 0) == 0 && (extension == ".png" || extension == ".bmp");
        if (ours && std::find(shown.begin(), shown.end(), entry.path()) == shown.end())
            fs::remove(entry.path(), error);
    }
}

std::vector<std::string> CommandLine(const fs::path& process) {
    std::ifstream in(process / "cmdline", std::ios::binary);
    std::vector<std::string> arguments;
    for (std::string argument; std::getline(in, argument, '\0');)
        arguments.push_back(argument);
    return arguments;
}

// Whether the process belongs to this session's sway: swaybg is started by sway, which detaches
// it, with sway's own environment, so it names the same Wayland display in the same runtime
// folder. A process of another user, whose environment cannot be read, does not.
bool OfThisSession(const fs::path& process, const Environment& environment) {
    std::ifstream in(process / "environ", std::ios::binary);
    const std::string display = "WAYLAND_DISPLAY=" + Lookup(environment, "WAYLAND_DISPLAY");
    const std::string runtime = "XDG_RUNTIME_DIR=" + Lookup(environment, "XDG_RUNTIME_DIR");
    bool sameDisplay = false, sameRuntime = false;
    for (std::string variable; std::getline(in, variable, '\0');) {
        sameDisplay = sameDisplay || variable == display;
        sameRuntime = sameRuntime || variable == runtime;
    }
    return sameDisplay && sameRuntime;
}

// Whether a swaybg started by this sway shows the picture on the output: its arguments hold
// "-o OUTPUT" followed, before the next output, by "-i PICTURE".
bool SwaybgShows(const std::vector<std::string>& arguments, const std::string& output,
                 const std::string& picture) {
    bool onOutput = false;
    for (std::size_t i = 0; i + 1 < arguments.size(); ++i) {
        if (arguments[i] == "-o" || arguments[i] == "--output")
            onOutput = arguments[i + 1] == output;
        else if (onOutput && (arguments[i] == "-i" || arguments[i] == "--image") &&
                 arguments[i + 1] == picture)
            return true;
    }
    return false;
}

bool EveryOutputShown(const Environment& environment, const std::vector<Screen>& screens,
                      const std::vector<fs::path>& pictures) {
    std::vector<bool> shown(screens.size(), false);
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator("/proc", error)) {
        const std::string pid = entry.path().filename().string();
        if (pid.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::string name;
        std::getline(std::ifstream(entry.path() / "comm"), name);
        if (name != "swaybg" || !OfThisSession(entry.path(), environment))
            continue;
        const std::vector<std::string> arguments = CommandLine(entry.path());
        for (std::size_t i = 0; i < screens.size(); ++i)
            shown[i] = shown[i] || SwaybgShows(arguments, screens[i].name, pictures[i].string());
    }
    return std::all_of(shown.begin(), shown.end(), [](bool b) { return b; });
}

} // namespace

bool SafeForSway(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '/' || c == '.' || c == '_' || c == '-' || c == '+';
    });
}

WayResult ApplyOnSway(const DesktopContext& context) {
    WayResult result{Way::DesktopTool, false, WayReason::None, kTool, "", ""};
    const Pictures pictures = context.pictures(PictureSet::OnePerScreen);
    if (!pictures.ok())
        return NoPicturesResult(kTool, pictures);
    std::vector<fs::path> safe;
    for (const fs::path& file : pictures.files) {
        safe.push_back(SafePicture(file, context.environment, result.detail));
        if (safe.back().empty()) {
            result.reason = WayReason::UnsafePath;
            return result;
        }
    }
    for (std::size_t i = 0; i < context.screens.size(); ++i) {
        const std::string& output = context.screens[i].name;
        if (!SafeForSway(output)) {
            result.reason = WayReason::UnsafePath;
            result.detail = "the output's name " + output;
            return result;
        }
        // "fill" of a picture the output's own size in device pixels is that picture unscaled.
        if (const ToolRun run =
                context.runner.run({kTool, {"output", output, "bg", safe[i].string(), "fill"}});
            !run.ok())
            return ToolWayResult(kTool, run);
    }
    if (!PollUntil(context.deadline,
                   [&] { return EveryOutputShown(context.environment, context.screens, safe); })) {
        result.reason = WayReason::NothingDraws;
        result.detail = "no swaybg of this sway shows the picture";
        return result;
    }
    if (safe != pictures.files)
        RemoveOlderCopies(safe.front().parent_path(), safe);
    result.applied = true;
    result.checked = "swaybg shows the picture on " + std::to_string(context.screens.size()) +
                     (context.screens.size() == 1 ? " output" : " outputs");
    return result;
}

std::vector<Screen> SwayScreens(const ToolRunner& runner, std::string& error) {
    const ToolRun run = runner.run({kTool, {"-t", "get_outputs", "-r"}});
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
