#pragma once

// A stencil is a small figure turned into whole spans once, relative to its centre pixel, so
// that drawing it again anywhere only copies spans. Figures within kStencilReach pixels of their
// centre are drawn this way; larger ones are drawn row by row, visible rows only.

#include "render/raster/figure.h"

#include <cstdint>
#include <vector>

namespace tidepool::raster {

constexpr double kStencilReach = 48;

enum class Layer : std::uint8_t {
    Fill,
    Outline,
};

// Columns x0..x1 (inclusive) of row dy, offsets from the centre pixel.
struct StencilSpan {
    std::int16_t dy;
    std::int16_t x0;
    std::int16_t x1;
    Layer layer;
};

struct Stencil {
    std::vector<StencilSpan> spans; // fill spans first, then outline spans
    std::size_t fillCount = 0;
    // Inclusive bounds of all spans; meaningless when there are none.
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
};

// Rebuilds out from figure, which must lie within kStencilReach of its centre. With oneColour
// the fill is drawn in the outline colour, so the layers are merged into outline spans.
void buildStencil(const Figure& figure, bool oneColour, Stencil& out);

// The stencils of what ellipseFigure(ellipse) and lineFigure(dx, dy, penWidth) describe.
void buildEllipseStencil(const EllipseGeometry& ellipse, Stencil& out);
void buildLineStencil(double dx, double dy, int penWidth, Stencil& out);

} // namespace tidepool::raster
