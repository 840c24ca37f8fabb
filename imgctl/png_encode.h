#pragma once

#include "imgctl/dib.h"

namespace tidepool::imgctl {

// Writes the DIB to path as an 8-bit RGB PNG. False on any failure, with no file left at path.
bool writePngFile(const char* path, const Dib& dib);

} // namespace tidepool::imgctl
