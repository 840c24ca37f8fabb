#include "render/tiling/tile_crabs.h"

#include "render/tiling/stamped_tiling.h"

namespace tidepool {

namespace {

void DrawBubbleField(DrawingSurface& surface, const TilingPlan& plan, const SiteAxes& axes) {
    for (const AxisOrigin& column : axes.columns)
        for (const AxisOrigin& row : axes.rows)
            DrawBubbleSite(surface, plan, column, row);
}

void DrawCrabPass(DrawingSurface& surface, const TilingPlan& plan, const SiteAxes& axes) {
    std::size_t q = 0;
    for (const AxisOrigin& row : axes.rows) {
        for (const AxisOrigin& column : axes.columns) {
            EyeShape shape = plan.shapes[q];
            q = q + 1 >= plan.shapes.size() ? 0 : q + 1;
            DrawCrabSite(surface, plan, column, row, shape);
        }
    }
}

// Draws a pass from stamps unless the path says otherwise or stamps do not serve.
bool Stamped(DrawingSurface& surface, const SitePass& pass, DrawPath path) {
    switch (path) {
    case DrawPath::Fast:
        return StampPass(surface, pass, StampUse::WhenTheyPay);
    case DrawPath::Stamped:
        return StampPass(surface, pass, StampUse::WhereverTheyFit);
    case DrawPath::Plain:
        return false;
    }
    return false;
}

} // namespace

void TileCrabs(DrawingSurface& surface, int themeIndex, const DrawSettings& settings,
               const RenderSettings& render, DrawPath path) {
    const TilingPlan where = PlanTiling(surface.width(), surface.height(), settings);
    const TilingPlan plan = ColourTiling(where, themeIndex, settings, render);
    DrawTiling(surface, plan, path);
}

void DrawTiling(DrawingSurface& surface, const TilingPlan& plan, DrawPath path) {
    if (plan.background)
        surface.setBackColor(*plan.background);
    if (!plan.grid)
        return;
    surface.DrawWidth = 1;
    surface.FillStyle = 0;
    if (plan.bubbles) {
        const SiteAxes bubbles = BubbleSiteAxes(plan);
        if (!Stamped(surface, BubbleSitePass(plan, bubbles), path))
            DrawBubbleField(surface, plan, bubbles);
    }
    const SiteAxes crabs = CrabSiteAxes(plan);
    if (!Stamped(surface, CrabSitePass(plan, crabs), path))
        DrawCrabPass(surface, plan, crabs);
}

} // namespace tidepool
