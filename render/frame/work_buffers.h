#pragma once

#include "render/raster/drawing_surface.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tidepool {

// The work buffers the job owns between runs: four layers for frame mode and the picture buffer.
// The layers are only given pixels when a frame-mode drawing needs them; most frame drawings need
// instead one byte per pixel for a colour layer and its mask drawn at once.
struct WorkBuffers {
    std::array<DrawingSurface, 4> layers; // the frame layers
    DrawingSurface picture;               // the loaded background picture
    std::vector<std::uint8_t> layerIds;   // frame layers drawn together, see frame_layers.h
};

} // namespace tidepool
