#pragma once

#include "render/raster/drawing_surface.h"

#include <optional>
#include <string>

namespace tidepool {

// Reads a BMP, JPEG, GIF or ICO file, recognised by its content, with the platform's picture
// loader. Transparent parts are laid over white. Empty when the file is of another type, cannot
// be decoded, is larger than the picture limits allow or would cost more than the decoding
// budget (a JPEG's scans are counted from its markers first). Where the loader allows, the
// picture is decoded straight into the memory that keeps it, so it is held only once.
std::optional<DrawingSurface> ReadPlatformPicture(const std::string& path);

} // namespace tidepool
