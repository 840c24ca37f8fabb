#pragma once

// TileCrabs' two passes drawn from stamps (see stamp_lattice.h): the same pixels and attributes
// as drawing every figure on its own.

#include "render/raster/drawing_surface.h"
#include "render/tiling/stamp_lattice.h"
#include "render/tiling/tiling_plan.h"

namespace tidepool {

// The passes as the stamp lattice walks them. Both keep references to plan and axes.
SitePass BubbleSitePass(const TilingPlan& plan, const SiteAxes& axes);
SitePass CrabSitePass(const TilingPlan& plan, const SiteAxes& axes);

// Draws the pass on surface from stamps. False, with surface untouched, when stamps cannot be
// used for it or, with StampUse::WhenTheyPay, would not pay.
bool StampPass(DrawingSurface& surface, const SitePass& pass, StampUse use);

} // namespace tidepool
