#pragma once

#include "render/raster/drawing_surface.h"

#include <cstdint>

namespace tidepool {

// One group of three bubbles with its origin at unit (x, y), in colour, with the surface's pen
// and fill style.
void DrawBubbles(DrawingSurface& surface, std::int16_t x, std::int16_t y, Colour colour);

} // namespace tidepool
