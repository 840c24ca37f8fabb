#include "wallpaper/desktops/desktop_record.h"

#include "wallpaper/desktops/desktop_ways.h"
#include "wallpaper/x11/x11_desktop_windows.h"
#include "wallpaper/x11/x11_root.h"

#include <algorithm>
#include <cctype>
#include <chrono>

namespace tidepool {

namespace {

// How long a desktop program may take to draw again after its settings changed: xfdesktop, finding
// a screen it had not seen, took two to three seconds.
constexpr std::chrono::milliseconds kRootWatch{4000};

std::string Gsettings(int) {
    return "gsettings";
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

} // namespace

const std::vector<DesktopRecord>& KnownDesktops() {
    static const std::vector<DesktopRecord> kDesktops{
        {"GNOME",
         {"gnome", "gnome-classic", "gnome-flashback", "unity"},
         Gsettings,
         nullptr,
         ApplyOnGnome,
         true},
        {"Cinnamon", {"x-cinnamon", "cinnamon"}, Gsettings, nullptr, ApplyOnCinnamon, true},
        {"MATE", {"mate"}, Gsettings, nullptr, ApplyOnMate, false},
        {"Xfce",
         {"xfce"},
         [](int) -> std::string { return "xfconf-query"; },
         nullptr,
         ApplyOnXfce,
         false},
        {"KDE Plasma", {"kde"}, [](int) { return std::string(); }, nullptr, ApplyOnPlasma, true},
        {"LXQt",
         {"lxqt"},
         [](int) -> std::string { return "pcmanfm-qt"; },
         nullptr,
         ApplyOnLxqt,
         false},
        {"sway",
         {"sway"},
         [](int) -> std::string { return "swaymsg"; },
         SwayScreens,
         ApplyOnSway,
         true},
    };
    return kDesktops;
}

const DesktopRecord* DesktopNamed(std::string_view currentDesktop) {
    while (!currentDesktop.empty()) {
        const std::size_t colon = currentDesktop.find(':');
        const std::string name = Lower(currentDesktop.substr(0, colon));
        for (const DesktopRecord& desktop : KnownDesktops())
            if (std::find(desktop.called.begin(), desktop.called.end(), name) !=
                desktop.called.end())
                return &desktop;
        if (colon == std::string_view::npos)
            break;
        currentDesktop.remove_prefix(colon + 1);
    }
    return nullptr;
}

WayResult ToolWayResult(const std::string& tool, const ToolRun& run) {
    WayResult result{Way::DesktopTool, run.ok(), WayReason::None, tool, run.reason, ""};
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

WayResult NoPicturesResult(const std::string& tool, const Pictures& pictures) {
    return {Way::DesktopTool, false, pictures.failure, tool, pictures.error, ""};
}

void ShowBesideDesktopWindows(const DesktopContext& context, std::string_view program,
                              WayResult& result) {
    const std::string display = Lookup(context.environment, "DISPLAY");
    const auto windows = X11DesktopWindows(display);
    if (windows && DesktopWindowsCover(*windows, program, context.screens))
        return;
    // A desktop program that finds a screen late draws again seconds after its settings changed,
    // and puts its own picture on the root window (xfdesktop does, without the root-setters'
    // property). Where that came before the canvas could be read back, it is tried once more;
    // after, what is left of the application's time, a few seconds at most, is spent watching
    // for it, and the canvas goes back once.
    WayResult root = ApplyToRootWindow(context.canvas, display);
    if (!root.applied && root.reason == WayReason::DisplayRefused)
        root = ApplyToRootWindow(context.canvas, display);
    const Deadline watch =
        context.deadline.share(std::min(kRootWatch, context.deadline.remaining()));
    const bool replaced =
        root.applied && PollUntil(watch, [&] { return RootPictureReplaced(display); });
    if (replaced)
        root = ApplyToRootWindow(context.canvas, display);
    if (!root.applied) {
        result.applied = false;
        result.reason = root.reason;
        result.detail = "the root window beside " + std::string(program) + ": " + root.detail;
        return;
    }
    result.checked +=
        "; the root window where " + std::string(program) +
        " leaves a screen uncovered: " + root.checked +
        (replaced ? ", put back after " + std::string(program) + " drew over it" : "");
}

} // namespace tidepool
