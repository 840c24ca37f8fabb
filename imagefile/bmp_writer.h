#pragma once

#include "imagefile/write_result.h"
#include "render/raster/drawing_surface.h"

#include <filesystem>
#include <ostream>

namespace tidepool {

// Writes the whole surface as a Windows bitmap: a 14-byte file header, a 40-byte
// BITMAPINFOHEADER, then 24-bit pixels in blue-green-red order, bottom row first, each row padded
// to a multiple of 4 bytes. Fails for a surface without pixels and when the stream fails.
WriteResult WriteBmp(const DrawingSurface& surface, std::ostream& out);

// Writes the bitmap straight to path, replacing what is there; a failure's reason leaves the
// path for the caller to name. Callers that must not leave a half-written file behind go
// through SaveImage instead.
WriteResult WriteBmp(const DrawingSurface& surface, const std::filesystem::path& path);

} // namespace tidepool
