#pragma once

#include "imagefile/codec_library.h"
#include "imagefile/write_result.h"
#include "render/raster/drawing_surface.h"

#include <filesystem>

namespace tidepool {

enum class CodecFormat { Jpeg, Gif, Png };

// Has the codec plug-in write the whole surface to path: JPEG at quality 100, GIF or PNG. The
// plug-in runs with the program's folder current; path may be relative to the folder current
// before. Fails, with a reason, when the plug-in cannot be loaded or reports a failed write.
WriteResult WriteWithCodec(CodecLibrary& codec, CodecFormat format, const DrawingSurface& surface,
                           const std::filesystem::path& path);

} // namespace tidepool
