#include "render/tile_crabs.h"

#include "render/bubbles.h"
#include "render/leading_number.h"
#include "render/numeric.h"

#include <cmath>

namespace tidepool {

namespace {

// The block of crabs is counted as 122 units per crab when it is centred.
constexpr double kCrabCell = 122;

struct CrabColours {
    CrabKind kind;
    Colour primary;   // P1, the crab body
    Colour secondary; // P2, patterns and shadows
    Colour bubble;    // BC
};

CrabColours PickCrabColours(const ColourTheme& theme, const MainSettings& settings,
                            const RenderSettings& render) {
    CrabColours colours{};
    if (theme.Kind >= 3) {
        colours = {theme.Kind, theme.Foreground, theme.Middle, 0};
    } else {
        colours.kind = render.UseFixedColours == 1 ? 1 : 2;
        const auto& swatch = settings.swatches;
        switch (settings.colourRole) {
        case ColourRole::Foreground:
            colours.primary = swatch[0], colours.secondary = swatch[1];
            break;
        case ColourRole::Middle:
            colours.primary = swatch[1], colours.secondary = swatch[0];
            break;
        case ColourRole::Background:
            colours.primary = swatch[2], colours.secondary = swatch[1];
            break;
        case ColourRole::None:
            colours.primary = 0, colours.secondary = 0;
            break;
        }
    }
    bool crabColouredBubbles = colours.kind >= 4 || render.BubblesInCrabColour == 1;
    colours.bubble = crabColouredBubbles ? colours.primary : render.FixedColours[4];
    return colours;
}

// Everything one call reads from the fields, parsed once.
struct TilingInputs {
    double magnification;
    double spacing;
    float shadow;        // T
    float bubbleSpacing; // B
    float shiftX;        // BX
    float shiftY;        // BY
    bool normalMode;
};

TilingInputs ReadTilingInputs(const MainSettings& s) {
    return {LeadingNumber(s.magnification),
            LeadingNumber(s.spacing),
            toFloat32(LeadingNumber(s.shadowWidth)),
            toFloat32(LeadingNumber(s.bubbleSpacing)),
            toFloat32(LeadingNumber(s.bubbleShiftX)),
            toFloat32(LeadingNumber(s.bubbleShiftY)),
            s.mode == DrawMode::Normal};
}

void DrawBubbleField(DrawingSurface& surface, const CrabGrid& grid, const MainSettings& settings,
                     const TilingInputs& in, const CrabColours& colours) {
    BubbleCounts counts = BubbleFieldCounts(grid, in.bubbleSpacing);
    bool shadows = in.normalMode && settings.bubbleShadow;
    for (int i = 0; i <= counts.NBX; ++i) {
        for (int j = 0; j <= counts.NBY; ++j) {
            BubbleOrigin g = BubbleGroupOrigin(grid, settings.layout, in.bubbleSpacing, in.shiftX,
                                               in.shiftY, i, j);
            // A group whose origin does not fit a drawing coordinate lies far off the surface.
            if (shadows) {
                auto sx = nearestInt16(g.x + in.shadow), sy = nearestInt16(g.y + in.shadow);
                if (sx && sy)
                    DrawBubbles(surface, *sx, *sy, colours.secondary);
            }
            auto x = nearestInt16(g.x), y = nearestInt16(g.y);
            if (x && y)
                DrawBubbles(surface, *x, *y, colours.bubble);
        }
    }
}

void DrawCrabPass(DrawingSurface& surface, const CrabGrid& grid, const MainSettings& settings,
                  const TilingInputs& in, const CrabColours& colours, const CrabStyle& style) {
    std::vector<EyeShape> shapes =
        ShapeSequence(settings.eyeShapes, LeadingNumber(settings.eyeShift));
    bool shadows = in.normalMode && settings.crabShadow;
    std::size_t q = 0;
    for (int r = 0; r < grid.NY; ++r) {
        double rowY = static_cast<double>(static_cast<float>(r)) * grid.DY + grid.OY;
        for (int c = 0; c < grid.NX; ++c) {
            EyeShape shape = shapes[q];
            q = q + 1 >= shapes.size() ? 0 : q + 1;
            double colX = static_cast<double>(static_cast<float>(c)) * grid.DX + grid.OX;
            if (shadows) {
                auto sx = nearestInt16(colX + in.shadow), sy = nearestInt16(rowY + in.shadow);
                if (sx && sy)
                    DrawCrab(surface, 2, *sx, *sy, colours.secondary, colours.primary, shape,
                             style);
            }
            auto x = nearestInt16(colX), y = nearestInt16(rowY);
            if (x && y)
                DrawCrab(surface, colours.kind, *x, *y, colours.primary, colours.secondary, shape,
                         style);
        }
    }
}

} // namespace

std::optional<CrabGrid> LayOutCrabGrid(int w, int h, double m, double s, Layout layout) {
    auto uw = nearestInt16(w / m), uh = nearestInt16(h / m);
    if (!uw || !uh || *uw <= 0 || *uh <= 0 || !(s > 0) || !std::isfinite(s))
        return std::nullopt;
    CrabGrid g;
    g.UW = *uw;
    g.UH = *uh;
    g.DX = toFloat32(s * 120);
    g.DY = toFloat32(s * 106);
    double nx = std::floor(g.UW / static_cast<double>(g.DX));
    double ny = std::floor(g.UH / static_cast<double>(g.DY));
    if (nx > 32766 || ny > 32766)
        return std::nullopt;
    bool forcedX = nx < 1, forcedY = ny < 1;
    g.NX = static_cast<std::int16_t>(forcedX ? 1 : nx);
    g.NY = static_cast<std::int16_t>(forcedY ? 1 : ny);
    g.DX = toFloat32(g.DX + (g.UW - g.NX * static_cast<double>(g.DX)) / g.NX);
    g.DY = toFloat32(g.DY + (g.UH - g.NY * static_cast<double>(g.DY)) / g.NY);
    if (layout == Layout::Slide) {
        g.NX += forcedX ? 0 : 1;
        g.NY += forcedY ? 0 : 1;
        g.OX = -60;
        g.OY = -57;
    } else {
        g.OX = static_cast<std::int16_t>(
            nearest((g.UW - ((g.NX - 1) * static_cast<double>(g.DX) + kCrabCell)) / 2));
        g.OY = static_cast<std::int16_t>(
            nearest((g.UH - ((g.NY - 1) * static_cast<double>(g.DY) + kCrabCell)) / 2 + 10));
    }
    // A single column or row is always centred.
    if (g.NX == 1)
        g.OX = static_cast<std::int16_t>(nearest((g.UW - kCrabCell) / 2));
    if (g.NY == 1)
        g.OY = static_cast<std::int16_t>(nearest((g.UH - kCrabCell) / 2 + 10));
    return g;
}

std::vector<EyeShape> ShapeSequence(const std::array<bool, 5>& ticked, double shift) {
    std::vector<EyeShape> ticks;
    for (int i = 0; i < 5; ++i)
        if (ticked[static_cast<std::size_t>(i)])
            ticks.push_back(static_cast<EyeShape>(i + 1));
    if (ticks.empty())
        return {1};
    const auto n = static_cast<long long>(ticks.size());
    // The drawing job keeps the shift between 0 and n, where one wrap is enough; reducing
    // modulo n gives the same sequence there and keeps any other shift inside the list.
    double reduced = std::isfinite(shift) ? std::fmod(shift, static_cast<double>(n)) : 0.0;
    std::vector<EyeShape> sequence;
    for (long long p = 1; p <= n; ++p) {
        long long k = static_cast<long long>(nearest(static_cast<double>(p) + reduced));
        k = ((k - 1) % n + n) % n + 1;
        sequence.push_back(ticks[static_cast<std::size_t>(k - 1)]);
    }
    return sequence;
}

BubbleCounts BubbleFieldCounts(const CrabGrid& grid, float bubbleSpacing) {
    double b = bubbleSpacing;
    return {nearestClamped((2 - b) * (2 * grid.NX) + 10),
            nearestClamped((2 - b) * (2 * grid.NY) + 10)};
}

BubbleOrigin BubbleGroupOrigin(const CrabGrid& grid, Layout layout, float bubbleSpacing,
                               float shiftX, float shiftY, int i, int j) {
    bool slide = layout == Layout::Slide;
    double bx = slide ? -5 : -9;
    double by = slide ? 15 : 18;
    double fi = static_cast<float>(i), fj = static_cast<float>(j);
    double dx = grid.DX, dy = grid.DY, b = bubbleSpacing;
    return {fi * dx / 2 * b + bx + shiftX, fj * dy / 2 * b + by + (dy - 106) * 0.3 + shiftY};
}

void TileCrabs(DrawingSurface& surface, int themeIndex, const MainSettings& settings,
               const RenderSettings& render) {
    TilingInputs in = ReadTilingInputs(settings);
    auto grid = LayOutCrabGrid(surface.width(), surface.height(), in.magnification, in.spacing,
                               settings.layout);
    const ColourTheme& theme = render.themes[themeIndex];
    CrabColours colours = PickCrabColours(theme, settings, render);
    if (theme.Kind >= 3)
        surface.setBackColor(theme.Background);
    if (!grid)
        return;
    surface.DrawWidth = 1;
    surface.FillStyle = 0;
    if (settings.bubbles && render.SuppressBubbles == 0)
        DrawBubbleField(surface, *grid, settings, in, colours);
    CrabStyle style{render.UseFixedColours, render.FixedColours, OutlinePenWidth(in.magnification)};
    DrawCrabPass(surface, *grid, settings, in, colours, style);
}

} // namespace tidepool
