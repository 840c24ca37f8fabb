#pragma once

// The drawing job's frame mode: the crabs laid over the canvas as outlines, from a colour layer
// and its mask layer, after an optional drop shadow from a second pair of layers.

#include "render/frame/work_buffers.h"
#include "render/raster/drawing_surface.h"
#include "render/settings/draw_settings.h"
#include "render/settings/render_settings.h"
#include "render/tiling/tile_crabs.h"

namespace tidepool {

// The swatches a frame drawing takes, by the selected colour role.
struct FrameColours {
    Colour crab;           // the crabs' outlines
    Colour shadow;         // their drop shadow
    Colour shadowedCanvas; // the plain canvas repainted under the shadow
};

// Draws the frame's layers with the frame entries of the theme table and combines them into the
// canvas, the shadow's first, leaving render in the state its last layers were drawn in. The
// tiling is planned once for all the layers.
void DrawFrame(const DrawSettings& settings, RenderSettings& render, DrawingSurface& canvas,
               WorkBuffers& buffers, const FrameColours& colours, DrawPath path);

// Whether a frame drawing paints the whole canvas in the shadow's canvas colour before it lays
// anything on it (with the shadow and no picture), so that painting it in the plain colour first
// would be wasted.
bool FrameShadowRepaintsCanvas(const DrawSettings& settings);

} // namespace tidepool
