#pragma once

// The crab grid of a surface and the bubble field laid over it, as numbers: how many columns and
// rows, where each one starts, and which eye shapes the crabs take in turn. Planning a tiling
// starts here; nothing is drawn.

#include "render/figure/crab_figure.h"
#include "render/settings/main_settings.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace tidepool {

// The crab grid of one surface, in units.
struct CrabGrid {
    std::int16_t UW = 0, UH = 0; // surface size
    float DX = 0, DY = 0;        // cell pitch, spread so the cells divide the surface exactly
    std::int16_t NX = 0, NY = 0; // columns and rows, the slide layout's extra ones included
    std::int16_t OX = 0, OY = 0; // origin of the crab in column 0, row 0
};

// The grid for a surface of w × h pixels at magnification m and spacing s, or nothing when the
// values are out of the range the drawing job guarantees.
std::optional<CrabGrid> LayOutCrabGrid(int w, int h, double m, double s, Layout layout);

// The eye shapes handed out to the crabs in turn: the ticked shapes rotated by shift. Never empty.
std::vector<EyeShape> ShapeSequence(const std::array<bool, 5>& ticked, double shift);

// The bubble field's last column and row indexes (the loops run from 0 to these inclusive).
struct BubbleCounts {
    int NBX = 0;
    int NBY = 0;
};
BubbleCounts BubbleFieldCounts(const CrabGrid& grid, float bubbleSpacing);

// Origin of bubble group (i, j), in units, before rounding.
struct BubbleOrigin {
    double x;
    double y;
};
BubbleOrigin BubbleGroupOrigin(const CrabGrid& grid, Layout layout, float bubbleSpacing,
                               float shiftX, float shiftY, int i, int j);

} // namespace tidepool
