#pragma once

#include "render/raster/drawing_surface.h"

#include <filesystem>
#include <optional>
#include <string>

namespace tidepool::testing_support {

// Reads and writes binary PPM (P6), the simplest format any viewer opens, for expected pictures.
bool WritePpm(const DrawingSurface& surface, const std::filesystem::path& path);
std::optional<DrawingSurface> ReadPpm(const std::filesystem::path& path);

// Empty when the two pictures are the same; otherwise a readable account of where they differ.
std::string DescribeDifference(const DrawingSurface& expected, const DrawingSurface& actual);

} // namespace tidepool::testing_support
