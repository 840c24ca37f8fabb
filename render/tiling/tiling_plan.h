#pragma once

// What one TileCrabs call draws, worked out before anything is drawn, and the sites of its two
// passes. A site is one place of the lattice with everything drawn there in turn: a bubble group
// after its shadow group, or a crab after its shadow crab. Every figure of a column starts at the
// same x and every figure of a row at the same y, so a pass is described by its columns and rows.
// A plan is made in two steps: where the figures go, from the settings alone, and then how one
// surface draws them, from a theme entry and the render state. A frame drawing's layers share
// the first step and differ only in the second.

#include "render/figure/crab_figure.h"
#include "render/raster/drawing_surface.h"
#include "render/settings/draw_settings.h"
#include "render/settings/render_settings.h"
#include "render/tiling/crab_grid.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace tidepool {

struct TilingPlan {
    std::optional<Colour> background; // frame entries fill the surface with it first
    std::optional<CrabGrid> grid;     // nothing is drawn without one
    Layout layout = Layout::Slide;
    bool bubbles = false; // the bubble field is drawn
    bool bubbleShadows = false;
    bool crabShadows = false;
    float shadow = 0;        // T
    float bubbleSpacing = 1; // B
    float shiftX = 0;        // BX
    float shiftY = 0;        // BY
    CrabKind kind = 2;       // K
    Colour primary = 0;      // P1, the crab body
    Colour secondary = 0;    // P2, patterns and shadows
    Colour bubble = 0;       // BC
    CrabStyle style;
    std::vector<EyeShape> shapes; // handed out to the crabs in turn
};

// Where the figures of a surface of width x height pixels go: the grid, the bubble field, the
// shadows, the eye shapes and the outline pen, from the settings alone. Not yet drawable: its
// colours, its kind and the fixed colours are left to ColourTiling.
TilingPlan PlanTiling(int width, int height, const DrawSettings& settings);

// The plan of TileCrabs with theme entry themeIndex in the render state render, from plan as
// PlanTiling gives it: the crabs' kind and colours, the background a frame entry fills the
// surface with first, the fixed colours, and whether the bubble field is drawn at all.
TilingPlan ColourTiling(TilingPlan plan, int themeIndex, const DrawSettings& settings,
                        const RenderSettings& render);

// Where the figures of one column (or row) of sites start, in units, and where their shadows
// start. Empty for shadows that are not drawn, and for a value that does not fit a drawing
// coordinate: such a figure lies far off the surface and is not drawn.
struct AxisOrigin {
    std::optional<std::int16_t> figure;
    std::optional<std::int16_t> shadow;

    bool operator==(const AxisOrigin&) const = default;
};

struct SiteAxes {
    std::vector<AxisOrigin> columns;
    std::vector<AxisOrigin> rows;
};

// The bubble field's columns and rows, from 0 to NBX and NBY; drawn column by column.
SiteAxes BubbleSiteAxes(const TilingPlan& plan);
// The crab grid's columns and rows; drawn row by row.
SiteAxes CrabSiteAxes(const TilingPlan& plan);

// The site where a column meets a row. A bubble site reads the surface's pen and fill style as
// TileCrabs leaves them (1 and solid); a crab site reads no attribute. Neither depends on what an
// earlier site left.
void DrawBubbleSite(DrawingSurface& surface, const TilingPlan& plan, const AxisOrigin& column,
                    const AxisOrigin& row);
void DrawCrabSite(DrawingSurface& surface, const TilingPlan& plan, const AxisOrigin& column,
                  const AxisOrigin& row, EyeShape shape);

} // namespace tidepool
