#include "render/tiling/stamped_tiling.h"

namespace tidepool {

SitePass BubbleSitePass(const TilingPlan& plan, const SiteAxes& axes) {
    return {axes, true, 1,
            [&plan](DrawingSurface& s, const AxisOrigin& column, const AxisOrigin& row, int) {
                DrawBubbleSite(s, plan, column, row);
            }};
}

SitePass CrabSitePass(const TilingPlan& plan, const SiteAxes& axes) {
    // The k-th crab drawn, row by row, takes shape k mod n: the sequence runs on across rows.
    return {
        axes, false, static_cast<int>(plan.shapes.size()),
        [&plan](DrawingSurface& s, const AxisOrigin& column, const AxisOrigin& row, int variant) {
            DrawCrabSite(s, plan, column, row, plan.shapes[static_cast<std::size_t>(variant)]);
        }};
}

bool StampPass(DrawingSurface& surface, const SitePass& pass, StampUse use) {
    StampLattice lattice;
    if (!lattice.layOut(pass, surface, use) || !lattice.record(pass, surface))
        return false;
    if (const auto after = lattice.draw(surface.pixels(), surface.width(), surface.height())) {
        surface.DrawWidth = after->drawWidth;
        surface.FillStyle = after->fillStyle;
        surface.ForeColor = after->foreColor;
        surface.FillColor = after->fillColor;
    }
    return true;
}

} // namespace tidepool
