#pragma once

#include "imgctl/imgctl.h"
#include "render/raster/drawing_surface.h"

#include <type_traits>

namespace tidepool {

static_assert(std::is_same_v<Pixel, std::uint32_t>,
              "the plug-in reads and writes surface pixels in place");

// The surface as the plug-in's device context: the same pixels, not a copy.
inline ImgctlSurface AsCodecSurface(DrawingSurface& surface) {
    return {surface.pixels(), surface.width(), surface.height(), surface.width()};
}

// For reading only (DCtoDIB); the plug-in's record has no read-only form.
inline ImgctlSurface AsCodecSource(const DrawingSurface& surface) {
    return AsCodecSurface(const_cast<DrawingSurface&>(surface));
}

} // namespace tidepool
