#pragma once

#include "wallpaper/core/desktop_tiling.h"

#include <vector>

namespace tidepool {

// The screens as the window system reports them to Qt, the primary first. Needs a
// QGuiApplication.
std::vector<Screen> DesktopScreens();

} // namespace tidepool
