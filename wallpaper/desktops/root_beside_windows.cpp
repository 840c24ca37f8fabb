#include "wallpaper/desktops/root_beside_windows.h"

#include "wallpaper/x11/x11_desktop_windows.h"
#include "wallpaper/x11/x11_root.h"

#include <algorithm>
#include <chrono>

namespace tidepool {

namespace {

// How long a desktop program may take to draw again after its settings changed: xfdesktop, finding
// a screen it had not seen, took two to three seconds.
constexpr std::chrono::milliseconds kRootWatch{4000};

} // namespace

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
