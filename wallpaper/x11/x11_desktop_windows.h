#pragma once

#include "wallpaper/core/desktop_tiling.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tidepool {

// A window a desktop program shows over the X11 root window to draw its background in
// (_NET_WM_WINDOW_TYPE_DESKTOP), named by its WM_CLASS.
struct DesktopWindow {
    std::string instance;  // "xfdesktop"
    std::string className; // "Xfdesktop"
    DeviceRect area;       // on the root window
};

// The desktop windows mapped on the display (empty for $DISPLAY), among the root window's children
// and the window manager's clients; none when the display cannot be reached.
std::optional<std::vector<DesktopWindow>> X11DesktopWindows(const std::string& display);

// Whether one of the windows has the name as its instance or class, in any case.
bool HasDesktopWindow(const std::vector<DesktopWindow>& windows, std::string_view name);

// Whether a desktop window of that name is mapped on the display.
bool DesktopWindowShown(const std::string& display, std::string_view name);

// Whether every screen lies within one of the windows of that name: a desktop program that missed
// a screen added after it started leaves the root window showing there.
bool DesktopWindowsCover(const std::vector<DesktopWindow>& windows, std::string_view name,
                         const std::vector<Screen>& screens);

} // namespace tidepool
