#pragma once

#include "imgctl/dib.h"

namespace tidepool::imgctl {

// Whether quality is one the JPEG writer takes: 1 (smallest) to 100 (best).
bool isValidJpegQuality(int quality);

// Writes the DIB to path as a baseline JPEG with full-resolution colour (4:4:4). False on any
// failure, with no file left at path.
bool writeJpegFile(const char* path, const Dib& dib, int quality);

} // namespace tidepool::imgctl
