#pragma once

#include "cli/render_request.h"
#include "imagefile/codec_library.h"

#include <ostream>

namespace tidepool::cli {

// Runs the drawing job on the request, reports each field it corrected and each picture message
// on err, one line each, and writes the wallpaper to request.output. Background pictures are
// loaded, and PNG, JPEG and GIF files written, through codec. Returns the exit status.
int RunRender(RenderRequest& request, std::ostream& err, CodecLibrary& codec);

} // namespace tidepool::cli
