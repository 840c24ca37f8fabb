#pragma once

#include "imagefile/codec_library.h"
#include "render/raster/drawing_surface.h"

#include <cstdint>
#include <string>

namespace tidepool {

inline constexpr std::int16_t kPictureLoaded = 0;
inline constexpr std::int16_t kPictureLoadFailed = -1;

// Puts the picture file at path into target, sized to it. A path ending in ".png" (any letter
// case) is decoded by the codec plug-in, anything else by the platform's loader (BMP, JPEG, GIF,
// ICO). Returns kPictureLoaded or kPictureLoadFailed; nothing escapes.
//
// What target holds afterwards:
//   loaded                             the picture, target sized to it
//   no file at path                    unchanged
//   .png and no plug-in                unchanged
//   .png the plug-in cannot decode     cleared; if only the copy failed, already at the new size
//   other type the loader cannot read  unchanged (the earlier picture, if any)
//
// The process's current folder is the same afterwards as before, although the plug-in is called
// from within the program's folder.
std::int16_t LoadPictureFile(DrawingSurface& target, const std::string& path, CodecLibrary& codec);

} // namespace tidepool
