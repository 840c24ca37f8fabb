#pragma once

#include "render/raster/drawing_surface.h"
#include "render/settings/draw_settings.h"
#include "render/settings/render_settings.h"
#include "render/tiling/crab_grid.h"
#include "render/tiling/tiling_plan.h"

namespace tidepool {

// How crabs and bubbles reach the pixels. Every path gives the same picture.
enum class DrawPath {
    Fast,    // figures that repeat are drawn from stamps where that pays, the rest one by one
    Stamped, // stamps wherever a figure fits one, paying or not (to test them on small pictures)
    Plain,   // every figure on its own, primitive by primitive: the reference for the others
};

// Covers surface with crabs drawn with theme entry themeIndex: the bubble field first, then one
// crab per cell, each after its shadow in normal mode. Frame entries (Kind 3 and 4) first fill
// the surface with their Background.
void TileCrabs(DrawingSurface& surface, int themeIndex, const DrawSettings& settings,
               const RenderSettings& render, DrawPath path = DrawPath::Fast);

// The same for a tiling already planned and coloured (see tiling_plan.h), whose grid was laid
// out for the surface's size.
void DrawTiling(DrawingSurface& surface, const TilingPlan& plan, DrawPath path = DrawPath::Fast);

} // namespace tidepool
