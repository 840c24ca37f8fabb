#pragma once

#include "wallpaper/desktops/desktop_record.h"

#include <string_view>

namespace tidepool {

// For a desktop whose program draws the background in windows on X11, once that took: where those
// windows leave a screen uncovered (a screen added after the program started, a RandR monitor it
// does not know) the root window shows, so it gets the tiling too. Says so in result.checked; a
// root window that refuses fails the result.
void ShowBesideDesktopWindows(const DesktopContext& context, std::string_view program,
                              WayResult& result);

} // namespace tidepool
