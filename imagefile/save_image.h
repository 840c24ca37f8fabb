#pragma once

#include "imagefile/write_result.h"
#include "render/drawing_surface.h"

#include <filesystem>
#include <functional>
#include <string>

namespace tidepool {

// Writes a whole surface as a complete image file at path.
using ImageWriter =
    std::function<WriteResult(const DrawingSurface& surface, const std::filesystem::path& path)>;

// The writer for a file name, or why there is none (error set, write empty).
struct WriterChoice {
    ImageWriter write;
    std::string error;
};

// Chooses the writer by the file name's extension, in any letter case. BMP is always written;
// the codec plug-in's formats are refused until it exists; any other extension is refused.
WriterChoice ChooseImageWriter(const std::filesystem::path& target);

// Writes the surface to target in the format its extension asks for. The file appears complete
// or not at all; an earlier file at target survives every failure.
WriteResult SaveImage(const DrawingSurface& surface, const std::filesystem::path& target);

} // namespace tidepool
