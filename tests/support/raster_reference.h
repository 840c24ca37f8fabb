#pragma once

// A slow, per-pixel model of what Circle and Line cover, written straight from their contracts:
// every pixel is tested on its own with distances and atan2 angles. The tests compare the fast
// rasteriser with it; pixels whose test lands within a hair of a boundary are marked, since
// rounding may fairly send them either way.

#include "render/raster/drawing_surface.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace tidepool::reference {

enum class Cover : std::uint8_t { None, Fill, Outline };

struct Coverage {
    int width = 0;
    int height = 0;
    std::vector<Cover> cover;
    std::vector<bool> nearBoundary;

    Coverage(int w, int h)
        : width(w), height(h), cover(std::size_t(w) * h, Cover::None),
          nearBoundary(std::size_t(w) * h, false) {}
};

// The drawing state a primitive depends on.
struct Pen {
    double kx = 1;
    double ky = 1;
    int drawWidth = 1;
    bool filled = false; // FillStyle 0
};

Coverage circleCoverage(int width, int height, const Pen& pen, int x, int y, int r,
                        std::optional<ArcAngles> angles, double aspect);
Coverage lineCoverage(int width, int height, const Pen& pen, int x1, int y1, int x2, int y2);

} // namespace tidepool::reference
