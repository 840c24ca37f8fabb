#include "render/figure/bubbles.h"

namespace tidepool {

void DrawBubbles(DrawingSurface& surface, std::int16_t x, std::int16_t y, Colour colour) {
    surface.ForeColor = colour;
    surface.FillColor = colour;
    // Large at the top left, small at the bottom right.
    surface.Circle(x + 6, y + 6, 6);
    surface.Circle(x + 12, y + 19, 4);
    surface.Circle(x + 21, y + 32, 2);
}

} // namespace tidepool
