#pragma once

// A frame drawing's layers come in pairs, a colour layer and its mask, and every layer is a
// TileCrabs call; those of one drawing mostly draw the same figures in the same places in other
// colours, so the figure that touched a pixel last is the same on each. Such layers are drawn at
// once from tuple stamps: one byte per pixel names the tuple of pixels the layers would hold
// there. Combining a pair into the canvas from those bytes gives what combining its two layers
// would (AND with the mask layer, then XOR with the colour layer), without either layer.

#include "render/raster/drawing_surface.h"
#include "render/tiling/figure_stamp.h"
#include "render/tiling/stamp_lattice.h"
#include "render/tiling/tiling_plan.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace tidepool {

// The plans of one pair of layers.
struct LayerPairPlan {
    TilingPlan colour;
    TilingPlan mask;
};

class FrameLayers {
  public:
    // Records the stamps of the pairs' layers as drawn on grid's pixels. False when the layers
    // do not all draw the same figures in the same places, or stamps cannot be used for them.
    bool prepare(const std::vector<LayerPairPlan>& pairs, const DrawingSurface& grid, StampUse use);

    // Draws every layer into ids, one value per pixel of grid. Only after prepare() is true.
    void draw(std::vector<std::uint8_t>& ids) const;
    // Combines every pair of the layers drawn into ids into canvas in turn, pair p with its
    // top-left corner at canvas pixel (offsets[p], offsets[p]); at most two pairs. Each canvas
    // pixel takes every pair before the next pixel, which gives the same pixels as combining the
    // pairs one after the other over the whole canvas.
    void combine(DrawingSurface& canvas, const std::vector<int>& offsets,
                 const std::vector<std::uint8_t>& ids) const;

  private:
    int width_ = 0;
    int height_ = 0;
    std::optional<PixelTuples> tuples_;
    std::optional<StampLattice> bubbles_;
    std::optional<StampLattice> crabs_;
};

} // namespace tidepool
