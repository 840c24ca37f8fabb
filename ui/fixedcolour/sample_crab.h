#pragma once

#include "render/raster/drawing_surface.h"
#include "render/settings/draw_settings.h"
#include "render/settings/render_settings.h"

namespace tidepool {

// DrawSampleCrab: the fixed-colour dialog's sample, one crab with its bubbles in the four fixed
// colours over the colour the next drawing without a picture would give the canvas. The sample
// is width × height pixels at one unit per pixel; only the outline pen follows the magnification
// field, so a large magnification shows as thicker lines. Reads the colour role, the swatches and
// the magnification of main, and the fixed colours and palette of render.
void DrawSampleCrab(DrawingSurface& sample, int width, int height, const DrawSettings& main,
                    const RenderSettings& render);

} // namespace tidepool
