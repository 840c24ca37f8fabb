#include "render/tiling/crab_grid.h"

#include "render/settings/numeric.h"

#include <cmath>

namespace tidepool {

namespace {

// The block of crabs is counted as 122 units per crab when it is centred.
constexpr double kCrabCell = 122;

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

} // namespace tidepool
