#pragma once

#include "imagefile/codec_library.h"
#include "imagefile/write_result.h"
#include "render/raster/drawing_surface.h"

#include <filesystem>
#include <functional>
#include <string>

namespace tidepool {

// Writes a whole surface as a complete image file at path.
using ImageWriter =
    std::function<WriteResult(const DrawingSurface& surface, const std::filesystem::path& path)>;

// The writer for a file name, or why there is none (error set, write empty). A known format
// whose writer is missing (the plug-in is not there) is told apart from a name no writer takes.
struct WriterChoice {
    ImageWriter write;
    std::string error;
    bool knownFormat = true;
};

// Chooses the writer by the file name's extension, in any letter case: .bmp is written by the
// program itself; .jpg, .jpeg, .gif and .png by the codec plug-in, refused with a reason naming
// it when it is not found; any other extension is refused. The writer refers to
// codec, which must outlive it.
WriterChoice ChooseImageWriter(const std::filesystem::path& target, CodecLibrary& codec);

// Writes the surface to target in the format its extension asks for. The file appears complete
// or not at all; an earlier file at target survives every failure.
WriteResult SaveImage(const DrawingSurface& surface, const std::filesystem::path& target,
                      CodecLibrary& codec);

} // namespace tidepool
