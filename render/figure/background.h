#pragma once

#include "render/raster/drawing_surface.h"

namespace tidepool {

// Tiles picture over canvas at its own size, the first tile at pixel (1, 1), so the top row and
// left column keep the canvas's colour. An empty picture leaves the canvas as it is.
void ComposeBackground(DrawingSurface& canvas, const DrawingSurface& picture);

} // namespace tidepool
