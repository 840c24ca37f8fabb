#include "render/tiling/tiling_plan.h"

#include "render/figure/bubbles.h"
#include "render/settings/numeric.h"

namespace tidepool {

namespace {

void PickCrabColours(TilingPlan& plan, const ColourTheme& theme, const DrawSettings& settings,
                     const RenderSettings& render) {
    if (theme.Kind >= 3) {
        plan.kind = theme.Kind;
        plan.primary = theme.Foreground;
        plan.secondary = theme.Middle;
    } else {
        plan.kind = render.UseFixedColours == 1 ? 1 : 2;
        const auto& swatch = settings.swatches;
        switch (settings.colourRole) {
        case ColourRole::Foreground:
            plan.primary = swatch[0], plan.secondary = swatch[1];
            break;
        case ColourRole::Middle:
            plan.primary = swatch[1], plan.secondary = swatch[0];
            break;
        case ColourRole::Background:
            plan.primary = swatch[2], plan.secondary = swatch[1];
            break;
        case ColourRole::None:
            plan.primary = 0, plan.secondary = 0;
            break;
        }
    }
    bool crabColouredBubbles = plan.kind >= 4 || render.BubblesInCrabColour == 1;
    plan.bubble = crabColouredBubbles ? plan.primary : render.FixedColours[4];
}

// One axis of a lattice: where the figure of index k starts before rounding, and the shadow
// offset when shadows are drawn.
template <class Start>
std::vector<AxisOrigin> AxisOrigins(int count, Start start, float shadow, bool shadows) {
    std::vector<AxisOrigin> origins(static_cast<std::size_t>(std::max(count, 0)));
    for (int k = 0; k < count; ++k) {
        const double at = start(k);
        AxisOrigin& o = origins[static_cast<std::size_t>(k)];
        o.figure = nearestInt16(at);
        if (shadows)
            o.shadow = nearestInt16(at + shadow);
    }
    return origins;
}

} // namespace

TilingPlan PlanTiling(int width, int height, const DrawSettings& settings) {
    TilingPlan plan;
    plan.grid =
        LayOutCrabGrid(width, height, settings.magnification, settings.spacing, settings.layout);
    const bool normalMode = settings.mode == DrawMode::Normal;
    plan.layout = settings.layout;
    plan.bubbles = settings.bubbles;
    plan.bubbleShadows = normalMode && settings.bubbleShadow;
    plan.crabShadows = normalMode && settings.crabShadow;
    plan.shadow = settings.shadowWidth;
    plan.bubbleSpacing = settings.bubbleSpacing;
    plan.shiftX = settings.bubbleShiftX;
    plan.shiftY = settings.bubbleShiftY;
    plan.style.penWidth = OutlinePenWidth(settings.magnification);
    plan.shapes = ShapeSequence(settings.eyeShapes, settings.eyeShift);
    return plan;
}

TilingPlan ColourTiling(TilingPlan plan, int themeIndex, const DrawSettings& settings,
                        const RenderSettings& render) {
    const ColourTheme& theme = render.themes[themeIndex];
    PickCrabColours(plan, theme, settings, render);
    plan.background.reset();
    if (theme.Kind >= 3)
        plan.background = theme.Background;
    plan.bubbles = plan.bubbles && render.SuppressBubbles == 0;
    plan.style.useFixedColours = render.UseFixedColours;
    plan.style.fixedColours = render.FixedColours;
    return plan;
}

SiteAxes BubbleSiteAxes(const TilingPlan& plan) {
    if (!plan.grid)
        return {};
    const CrabGrid& grid = *plan.grid;
    const BubbleCounts counts = BubbleFieldCounts(grid, plan.bubbleSpacing);
    // A group's x depends on its column alone and its y on its row alone.
    auto origin = [&](int i, int j) {
        return BubbleGroupOrigin(grid, plan.layout, plan.bubbleSpacing, plan.shiftX, plan.shiftY, i,
                                 j);
    };
    return {
        AxisOrigins(
            counts.NBX + 1, [&](int i) { return origin(i, 0).x; }, plan.shadow, plan.bubbleShadows),
        AxisOrigins(
            counts.NBY + 1, [&](int j) { return origin(0, j).y; }, plan.shadow,
            plan.bubbleShadows)};
}

SiteAxes CrabSiteAxes(const TilingPlan& plan) {
    if (!plan.grid)
        return {};
    const CrabGrid& grid = *plan.grid;
    // Column and row indexes enter as 32-bit floats, the origin as a whole number.
    auto column = [&](int c) {
        return static_cast<double>(static_cast<float>(c)) * grid.DX + grid.OX;
    };
    auto row = [&](int r) {
        return static_cast<double>(static_cast<float>(r)) * grid.DY + grid.OY;
    };
    return {AxisOrigins(grid.NX, column, plan.shadow, plan.crabShadows),
            AxisOrigins(grid.NY, row, plan.shadow, plan.crabShadows)};
}

void DrawBubbleSite(DrawingSurface& surface, const TilingPlan& plan, const AxisOrigin& column,
                    const AxisOrigin& row) {
    if (column.shadow && row.shadow)
        DrawBubbles(surface, *column.shadow, *row.shadow, plan.secondary);
    if (column.figure && row.figure)
        DrawBubbles(surface, *column.figure, *row.figure, plan.bubble);
}

void DrawCrabSite(DrawingSurface& surface, const TilingPlan& plan, const AxisOrigin& column,
                  const AxisOrigin& row, EyeShape shape) {
    // The shadow crab swaps the two colours, so its visible edge shows in P2.
    if (column.shadow && row.shadow)
        DrawCrab(surface, 2, *column.shadow, *row.shadow, plan.secondary, plan.primary, shape,
                 plan.style);
    if (column.figure && row.figure)
        DrawCrab(surface, plan.kind, *column.figure, *row.figure, plan.primary, plan.secondary,
                 shape, plan.style);
}

} // namespace tidepool
