#pragma once

#include "imgctl/dib.h"

namespace tidepool::imgctl {

// Writes the DIB to path as a one-frame GIF. False on any failure, with no file left at path.
bool writeGifFile(const char* path, const Dib& dib);

} // namespace tidepool::imgctl
