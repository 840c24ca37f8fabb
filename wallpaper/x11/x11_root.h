#pragma once

#include "render/raster/drawing_surface.h"
#include "wallpaper/core/wallpaper_report.h"

#include <string>

namespace tidepool {

// Makes the canvas, tiled from the top-left corner over the whole X11 root window, the root
// window's background on the display (empty for $DISPLAY), and publishes it in the root window's
// _XROOTPMAP_ID and ESETROOT_PMAP_ID properties, where compositors and transparent terminals look
// for it, as the classic root-setting tools do, and reads them back. The picture outlives the
// program; the one those properties named before is freed when both named it, and the new one
// at once when they do not both read back as naming it.
WayResult ApplyToRootWindow(const DrawingSurface& canvas, const std::string& display);

// Whether another program has put its own picture on the root window since the last
// ApplyToRootWindow: _XROOTPMAP_ID no longer names what ESETROOT_PMAP_ID does, which only
// root-setting programs write. Its picture, kept for it by the server, is then freed: nothing
// shows it any more. False where no X server answers.
bool RootPictureReplaced(const std::string& display);

// Whether an X server answers on the display.
bool X11DisplayAnswers(const std::string& display);

} // namespace tidepool
