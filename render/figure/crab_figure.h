#pragma once

#include "render/raster/drawing_surface.h"

#include <array>
#include <cstdint>

namespace tidepool {

// Colour scheme of one crab: 1 fixed colours, 2 swatch colours (and every shadow crab), 3 frame
// colour layer, 4 frame mask layer. 0 draws as 2.
using CrabKind = std::int16_t;
// Eye shape: 0 or 1 "○", 2 "－", 3 "×", 4 "∩", 5 "∪"; anything else draws no eyes.
using EyeShape = std::int16_t;

// Outline pen width in pixels for magnification m.
int OutlinePenWidth(double m);

// What DrawCrab reads besides its arguments: the render flag, the fixed colours and the pen width
// that follows the magnification field.
struct CrabStyle {
    std::int16_t useFixedColours = 0;
    std::array<Colour, 5> fixedColours{};
    int penWidth = 3;
};

// One crab with its origin at unit (x, y); its body centre is (x + 60, y + 57).
void DrawCrab(DrawingSurface& surface, CrabKind kind, std::int16_t x, std::int16_t y,
              Colour primary, Colour secondary, EyeShape shape, const CrabStyle& style);

} // namespace tidepool
