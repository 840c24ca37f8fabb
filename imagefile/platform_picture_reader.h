#pragma once

#include "render/drawing_surface.h"

#include <optional>
#include <string>

namespace tidepool {

// Reads a BMP, JPEG, GIF or ICO file, recognised by its content, with the platform's picture
// loader. Transparent parts are laid over white. Empty when the file is of another type, cannot
// be decoded or is larger than the picture limits allow.
std::optional<DrawingSurface> ReadPlatformPicture(const std::string& path);

} // namespace tidepool
