#pragma once

#include "cli/render_request.h"
#include "imagefile/codec_library.h"
#include "render/raster/drawing_surface.h"
#include "wallpaper/core/wallpaper_report.h"

#include <functional>
#include <ostream>

namespace tidepool::cli {

// Puts a drawn wallpaper on the desktop and says how it went.
using SessionWallpaperSetter = std::function<WallpaperReport(const DrawingSurface& canvas)>;

// Runs the drawing job on the request, reports each field it corrected and each picture message
// on err, one line each, writes the wallpaper to request.output when one is given, and puts it
// on the desktop with setWallpaper when asked to: the way that did it is told on out, every way
// tried on err when none did. Background pictures are loaded, and PNG, JPEG and GIF files
// written, through codec. Returns the exit status.
int RunRender(RenderRequest& request, std::ostream& out, std::ostream& err, CodecLibrary& codec,
              const SessionWallpaperSetter& setWallpaper);

} // namespace tidepool::cli
