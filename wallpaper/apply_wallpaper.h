#pragma once

#include "render/raster/drawing_surface.h"
#include "wallpaper/core/deadline.h"
#include "wallpaper/core/desktop_tiling.h"
#include "wallpaper/core/environment.h"
#include "wallpaper/core/wallpaper_report.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace tidepool {

class CodecLibrary;

// How long one application may take in all, every way and check together, unless told otherwise.
inline constexpr std::chrono::milliseconds kDefaultWallpaperTimeLimit{5000};
// How long the user may take, beyond that, to answer a question the desktop portal asks.
inline constexpr std::chrono::milliseconds kDefaultAnswerLimit{60000};

// Where the wallpaper goes: the session's environment (the desktop's name, PATH, the data folder,
// the display), the screens as the window system reports them (empty without a display, with the
// reason), how long the whole application may take and the user may take besides to answer the
// portal, what may end it sooner (the program ending; null where nothing will), and the time that
// names the stored pictures.
struct DesktopSession {
    Environment environment;
    std::vector<Screen> screens;
    std::string screensError;
    std::chrono::milliseconds limit = kDefaultWallpaperTimeLimit;
    std::chrono::milliseconds answerLimit = kDefaultAnswerLimit;
    std::shared_ptr<const Cutoff> cutoff;
    std::chrono::system_clock::time_point now = std::chrono::system_clock::now();
};

// Puts the canvas on the desktop, repeated from the desktop's top-left corner in device pixels.
// The first way that works wins, and a way works only when what can be checked afterwards says so
// (the settings read back, the program drawing the background running, the root window's
// properties). The desktop's own tool comes first where the desktop is known and its tool is
// there; the desktop portal first where not (an unknown desktop, a sandbox); the X11 root window
// last, where nothing draws over it. Blocks for at most session.limit, of which a way that hangs
// leaves the ways after it a share, and session.answerLimit more where the portal took the request
// but has not answered (it may be asking the user); ends soon after a cutoff is requested,
// starting no further way; needs no event loop of the caller's: run it off a window's thread.
WallpaperReport ApplyWallpaper(const DrawingSurface& canvas, CodecLibrary& codec,
                               const DesktopSession& session);

} // namespace tidepool
