#pragma once

#include "imgctl/dib.h"

#include <memory>

namespace tidepool::imgctl {

// Reads the PNG file at path into an opaque DIB, transparent parts composited over white; null
// when the file cannot be read, is not a whole valid PNG, or is larger than the plug-in allows.
std::unique_ptr<Dib> decodePngFile(const char* path);

} // namespace tidepool::imgctl
