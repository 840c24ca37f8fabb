#pragma once

#include "wallpaper/core/deadline.h"
#include "wallpaper/core/desktop_tiling.h"
#include "wallpaper/core/environment.h"
#include "wallpaper/core/tool_runner.h"
#include "wallpaper/core/wallpaper_plan.h"
#include "wallpaper/core/wallpaper_report.h"

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tidepool {

// The stored pictures of one set, or why there are none (the way's reason and a detail).
struct Pictures {
    std::vector<std::filesystem::path> files;
    WayReason failure = WayReason::None;
    std::string error;

    bool ok() const { return failure == WayReason::None; }
};

// What a desktop's way is handed: the canvas, the pictures, made and stored on first asking (one
// per screen in the screens' order, or one for all), the screens, the tools, and the application's
// deadline.
struct DesktopContext {
    const DrawingSurface& canvas;
    std::function<Pictures(PictureSet)> pictures;
    const std::vector<Screen>& screens;
    const ToolRunner& runner;
    const Environment& environment;
    const Deadline& deadline;
};

// Everything known about one desktop: how XDG_CURRENT_DESKTOP names it, the tool its way runs,
// where it learns the screens when it knows them better than the toolkit, and its way, which hands
// the pictures over and checks that they took.
struct DesktopRecord {
    std::string_view name;                // as its users know it: "KDE Plasma"
    std::vector<std::string_view> called; // its names in XDG_CURRENT_DESKTOP, lower case
    // The program its way runs for that many screens, to tell a missing tool from a failing one;
    // empty where it is asked over the session bus.
    std::string (*program)(int screens);
    // Its own list of screens, or null to take the toolkit's.
    std::vector<Screen> (*screens)(const ToolRunner& runner, std::string& error);
    WayResult (*apply)(const DesktopContext& context);
    // A compositor that draws the background itself, so the X11 root window never shows.
    bool hidesRootWindow;
};

// A result of the desktop tool way for the record's tool.
WayResult ToolWayResult(const std::string& tool, const ToolRun& run);
// The desktop tool way's failure for pictures that could not be made, before the tool runs.
WayResult NoPicturesResult(const std::string& tool, const Pictures& pictures);

} // namespace tidepool
