#pragma once

#include "wallpaper/desktop_kind.h"
#include "wallpaper/desktop_tiling.h"
#include "wallpaper/tool_runner.h"
#include "wallpaper/wallpaper_plan.h"
#include "wallpaper/wallpaper_report.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace tidepool {

// The pictures the desktop's own tool takes: one per screen where the desktop keeps a picture per
// screen, one for all where it takes one picture (spanned over several screens).
PictureSet DesktopPictures(Desktop desktop, int screens);

// The program the desktop's tool way runs, to tell a missing tool from a failing one; empty where
// the desktop is asked over the session bus instead (KDE Plasma with several screens) or has no
// known tool.
std::string DesktopToolProgram(Desktop desktop, int screens);

// Shows the stored pictures (one per screen in the screens' order, or one for all) with the
// desktop's own tool, in the mode that shows them unscaled.
WayResult ApplyWithDesktopTool(Desktop desktop, const std::vector<std::filesystem::path>& files,
                               const std::vector<Screen>& screens, const ToolRunner& runner,
                               const Environment& environment, std::chrono::milliseconds limit);

// sway's active outputs as screens, as swaymsg reports them; empty, with the reason, when it
// cannot say.
std::vector<Screen> SwayScreens(const ToolRunner& runner, std::string& error);

} // namespace tidepool
