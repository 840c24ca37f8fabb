#pragma once

#include "imgctl/dib.h"

namespace tidepool::imgctl {

// Writes the DIB to path as a PNG: a palette picture of its own colours when it has at most 256,
// otherwise 8-bit RGB. Lossless either way. False on any failure, with no file left at path.
bool writePngFile(const char* path, const Dib& dib);

} // namespace tidepool::imgctl
