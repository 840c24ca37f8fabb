#pragma once

#include "render/drawing_surface.h"
#include "wallpaper/desktop_tiling.h"
#include "wallpaper/environment.h"
#include "wallpaper/wallpaper_report.h"

#include <chrono>
#include <string>
#include <vector>

namespace tidepool {

class CodecLibrary;

// Where the wallpaper goes: the session's environment (the desktop's name, PATH, the data folder,
// the display), the screens as the window system reports them (empty without a display, with the
// reason), how long a tool or the portal may take, and the time that names the stored pictures.
struct DesktopSession {
    Environment environment;
    std::vector<Screen> screens;
    std::string screensError;
    std::chrono::milliseconds limit{10000};
    std::chrono::system_clock::time_point now = std::chrono::system_clock::now();
};

// Puts the canvas on the desktop, repeated from the desktop's top-left corner in device pixels.
// The first way that works wins: the desktop portal (with one screen, or where the desktop's own
// tool is missing), the desktop's own tool, and the X11 root window of a session with no desktop
// above it. The pictures a way hands over are stored first in the wallpaper folder.
WallpaperReport ApplyWallpaper(const DrawingSurface& canvas, CodecLibrary& codec,
                               const DesktopSession& session);

} // namespace tidepool
