#include "render/frame_layers.h"

#include "render/stamped_tiling.h"

#include <algorithm>
#include <array>

namespace tidepool {

namespace {

constexpr Pixel kOpaque = 0xFF000000u;

// The layers in drawing order: each pair's colour layer, then its mask.
std::vector<const TilingPlan*> Layers(const std::vector<LayerPairPlan>& pairs) {
    std::vector<const TilingPlan*> layers;
    for (const LayerPairPlan& pair : pairs) {
        layers.push_back(&pair.colour);
        layers.push_back(&pair.mask);
    }
    return layers;
}

// Whether every layer draws the same sites, each with the same eye shape, and fills its layer
// with a background first, as the frame entries do.
bool DrawAlike(const std::vector<const TilingPlan*>& layers) {
    const TilingPlan& first = *layers.front();
    return std::all_of(layers.begin(), layers.end(), [&](const TilingPlan* layer) {
        return layer->background && layer->bubbles == first.bubbles &&
               layer->shapes == first.shapes && layer->grid.has_value() == first.grid.has_value();
    });
}

// A pass whose sites hold the figures of every pass, to learn where any of them reaches.
SitePass AllPasses(const std::vector<SitePass>& passes) {
    return {
        passes.front().axes, passes.front().columnsOuter, passes.front().variants,
        [&passes](DrawingSurface& s, const AxisOrigin& column, const AxisOrigin& row, int variant) {
            for (const SitePass& pass : passes)
                pass.draw(s, column, row, variant);
        }};
}

// Lays out and records one of TileCrabs' passes over all layers, given each layer's sites.
template <class MakePass>
std::optional<StampLattice>
RecordPass(const std::vector<const TilingPlan*>& layers, const std::vector<SiteAxes>& sites,
           MakePass makePass, const DrawingSurface& grid, StampUse use, PixelTuples& tuples) {
    for (const SiteAxes& axes : sites)
        if (axes.columns != sites.front().columns || axes.rows != sites.front().rows)
            return std::nullopt;
    std::vector<SitePass> passes;
    for (std::size_t k = 0; k < layers.size(); ++k)
        passes.push_back(makePass(*layers[k], sites[k]));
    StampLattice lattice;
    if (!lattice.layOut(AllPasses(passes), grid, use) ||
        !lattice.recordTuples(passes, grid, tuples))
        return std::nullopt;
    return lattice;
}

template <class Axes>
std::vector<SiteAxes> SitesOf(const std::vector<const TilingPlan*>& layers, Axes axesOf) {
    std::vector<SiteAxes> sites;
    for (const TilingPlan* layer : layers)
        sites.push_back(axesOf(*layer));
    return sites;
}

} // namespace

bool FrameLayers::prepare(const std::vector<LayerPairPlan>& pairs, const DrawingSurface& grid,
                          StampUse use) {
    const std::vector<const TilingPlan*> layers = Layers(pairs);
    if (layers.empty() || !DrawAlike(layers))
        return false;
    width_ = grid.width();
    height_ = grid.height();
    std::vector<Pixel> background;
    for (const TilingPlan* layer : layers)
        background.push_back(grid.palette().pixel(*layer->background));
    tuples_.emplace(std::move(background));
    bubbles_.reset();
    crabs_.reset();
    if (!layers.front()->grid)
        return true; // every layer is its background alone

    if (layers.front()->bubbles) {
        bubbles_ = RecordPass(layers, SitesOf(layers, BubbleSiteAxes), BubbleSitePass, grid, use,
                              *tuples_);
        if (!bubbles_)
            return false;
    }
    crabs_ = RecordPass(layers, SitesOf(layers, CrabSiteAxes), CrabSitePass, grid, use, *tuples_);
    return crabs_.has_value();
}

void FrameLayers::draw(std::vector<std::uint8_t>& ids) const {
    ids.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0);
    if (bubbles_)
        bubbles_->draw(ids.data(), width_, height_);
    if (crabs_)
        crabs_->draw(ids.data(), width_, height_);
}

void FrameLayers::combine(DrawingSurface& canvas, std::size_t p, int offset,
                          const std::vector<std::uint8_t>& ids) const {
    std::array<Pixel, PixelTuples::kMaxTuples> andWith{}, xorWith{};
    for (std::size_t i = 0; i < tuples_->size(); ++i) {
        xorWith[i] = tuples_->at(i, 2 * p);
        andWith[i] = tuples_->at(i, 2 * p + 1);
    }
    // The overlap, worked out in 64 bits as blit() does, so that no offset overflows.
    const std::int64_t left = std::max<std::int64_t>(offset, 0);
    const std::int64_t right =
        std::min<std::int64_t>(std::int64_t{offset} + width_, canvas.width());
    const std::int64_t top = std::max<std::int64_t>(offset, 0);
    const std::int64_t bottom =
        std::min<std::int64_t>(std::int64_t{offset} + height_, canvas.height());
    if (left >= right || top >= bottom)
        return;
    const std::int64_t n = right - left;
    for (std::int64_t y = top; y < bottom; ++y) {
        Pixel* d = canvas.pixels() + y * canvas.width() + left;
        const std::uint8_t* s = ids.data() + (y - offset) * width_ + (left - offset);
        for (std::int64_t i = 0; i < n; ++i)
            d[i] = ((d[i] & andWith[s[i]]) ^ xorWith[s[i]]) | kOpaque;
    }
}

} // namespace tidepool
