#pragma once

#include "wallpaper/environment.h"
#include "wallpaper/wallpaper_report.h"

#include <chrono>
#include <filesystem>
#include <vector>

namespace tidepool {

// Gives each of KDE Plasma's desktops (one per screen, numbered in the screens' order) its own
// picture through the shell's scripting interface on the session bus the environment names, scaled
// to cover the screen, which shows a picture of the screen's own size unscaled.
WayResult ApplyThroughPlasmaShell(const std::vector<std::filesystem::path>& files,
                                  const Environment& environment, std::chrono::milliseconds limit);

} // namespace tidepool
