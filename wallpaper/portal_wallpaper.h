#pragma once

#include "wallpaper/environment.h"
#include "wallpaper/wallpaper_report.h"

#include <chrono>
#include <filesystem>

namespace tidepool {

// Asks the XDG desktop portal's wallpaper interface on the session bus the environment names to
// show the picture as the desktop's background, without a preview, and waits at most limit for its
// answer. Applied only when the portal answers that it set it.
WayResult ApplyThroughPortal(const std::filesystem::path& file, const Environment& environment,
                             std::chrono::milliseconds limit);

} // namespace tidepool
