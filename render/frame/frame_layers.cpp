#include "render/frame/frame_layers.h"

#include "render/tiling/stamped_tiling.h"

#include <algorithm>
#include <array>

namespace tidepool {

namespace {

constexpr Pixel kOpaque = 0xFF000000u;

// What a pair of layers does to canvas pixels: AND with the mask layer's pixel, then XOR with
// the colour layer's, as the tuple named for each pixel has them, and then make them opaque.
struct Laid {
    std::array<Pixel, PixelTuples::kMaxTuples> andWith{};
    std::array<Pixel, PixelTuples::kMaxTuples> xorWith{};
    std::int64_t offset = 0;
};

// Canvas columns lo to hi (exclusive) of a row, whose ids start at ids.
void CombineRun(Pixel* row, std::int64_t lo, std::int64_t hi, const Laid& pair,
                const std::uint8_t* ids) {
    for (std::int64_t x = lo; x < hi; ++x, ++ids)
        row[x] = ((row[x] & pair.andWith[*ids]) ^ pair.xorWith[*ids]) | kOpaque;
}

// Both pairs in turn on each pixel; setting the alpha byte once at the end gives the same colour,
// as AND and XOR work bit by bit.
void CombineRunTwice(Pixel* row, std::int64_t lo, std::int64_t hi, const Laid& first,
                     const std::uint8_t* firstIds, const Laid& second,
                     const std::uint8_t* secondIds) {
    for (std::int64_t x = lo; x < hi; ++x, ++firstIds, ++secondIds) {
        const Pixel once = (row[x] & first.andWith[*firstIds]) ^ first.xorWith[*firstIds];
        row[x] = ((once & second.andWith[*secondIds]) ^ second.xorWith[*secondIds]) | kOpaque;
    }
}

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

// One of TileCrabs' passes over every layer, each layer's with its own sites.
class LayeredPass {
  public:
    template <class Axes, class MakePass>
    LayeredPass(const std::vector<const TilingPlan*>& layers, Axes axesOf, MakePass makePass) {
        for (const TilingPlan* layer : layers)
            sites_.push_back(axesOf(*layer));
        // The passes hold on to the sites, which stay where they are from here on.
        for (std::size_t k = 0; k < layers.size(); ++k)
            passes_.push_back(makePass(*layers[k], sites_[k]));
    }
    LayeredPass(const LayeredPass&) = delete;
    LayeredPass& operator=(const LayeredPass&) = delete;

    bool layOut(StampLattice& lattice, const DrawingSurface& grid, StampUse use) const {
        const bool sameSites = std::all_of(sites_.begin(), sites_.end(), [&](const SiteAxes& a) {
            return a.columns == sites_.front().columns && a.rows == sites_.front().rows;
        });
        return sameSites && lattice.layOut(AllPasses(passes_), grid, use);
    }
    bool record(StampLattice& lattice, const DrawingSurface& grid, PixelTuples& tuples) const {
        return lattice.recordTuples(passes_, grid, tuples);
    }

  private:
    std::vector<SiteAxes> sites_;
    std::vector<SitePass> passes_;
};

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

    // Both passes are laid out before either is recorded, so that layers whose crabs cannot be
    // stamped cost no recording of their bubbles.
    std::optional<LayeredPass> bubblePass;
    if (layers.front()->bubbles)
        bubblePass.emplace(layers, BubbleSiteAxes, BubbleSitePass);
    const LayeredPass crabPass(layers, CrabSiteAxes, CrabSitePass);
    StampLattice bubbles, crabs;
    if ((bubblePass && !bubblePass->layOut(bubbles, grid, use)) ||
        !crabPass.layOut(crabs, grid, use))
        return false;
    if ((bubblePass && !bubblePass->record(bubbles, grid, *tuples_)) ||
        !crabPass.record(crabs, grid, *tuples_))
        return false;
    if (bubblePass)
        bubbles_ = std::move(bubbles);
    crabs_ = std::move(crabs);
    return true;
}

void FrameLayers::draw(std::vector<std::uint8_t>& ids) const {
    ids.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0);
    if (bubbles_)
        bubbles_->draw(ids.data(), width_, height_);
    if (crabs_)
        crabs_->draw(ids.data(), width_, height_);
}

void FrameLayers::combine(DrawingSurface& canvas, const std::vector<int>& offsets,
                          const std::vector<std::uint8_t>& ids) const {
    std::vector<Laid> laid(offsets.size());
    for (std::size_t p = 0; p < offsets.size(); ++p) {
        for (std::size_t i = 0; i < tuples_->size(); ++i) {
            laid[p].xorWith[i] = tuples_->at(i, 2 * p);
            laid[p].andWith[i] = tuples_->at(i, 2 * p + 1);
        }
        laid[p].offset = offsets[p];
    }
    // Worked out in 64 bits, as blit() does, so that no offset overflows.
    const std::int64_t width = canvas.width(), height = canvas.height();
    auto columns = [&](const Laid& pair, std::int64_t y) {
        if (y < pair.offset || y >= pair.offset + height_)
            return std::pair<std::int64_t, std::int64_t>{0, 0};
        return std::pair{std::max<std::int64_t>(pair.offset, 0),
                         std::min<std::int64_t>(pair.offset + width_, width)};
    };
    // The ids of the pair at canvas pixel (x, y), which it must cover.
    auto idsAt = [&](const Laid& pair, std::int64_t x, std::int64_t y) {
        return ids.data() + (y - pair.offset) * width_ + (x - pair.offset);
    };
    auto combineRun = [&](Pixel* row, std::int64_t y, std::int64_t lo, std::int64_t hi,
                          const Laid& pair) {
        if (lo < hi)
            CombineRun(row, lo, hi, pair, idsAt(pair, lo, y));
    };
    for (std::int64_t y = 0; y < height; ++y) {
        Pixel* row = canvas.pixels() + y * width;
        if (laid.size() != 2) {
            for (const Laid& pair : laid) {
                const auto [lo, hi] = columns(pair, y);
                combineRun(row, y, lo, hi, pair);
            }
            continue;
        }
        // Where both pairs lie, both at once; elsewhere each alone, as the pixels differ.
        const Laid &first = laid[0], &second = laid[1];
        const auto [firstLo, firstHi] = columns(first, y);
        const auto [secondLo, secondHi] = columns(second, y);
        const std::int64_t lo = std::max(firstLo, secondLo), hi = std::min(firstHi, secondHi);
        if (lo >= hi) {
            combineRun(row, y, firstLo, firstHi, first);
            combineRun(row, y, secondLo, secondHi, second);
            continue;
        }
        combineRun(row, y, firstLo, lo, first);
        combineRun(row, y, hi, firstHi, first);
        combineRun(row, y, secondLo, lo, second);
        combineRun(row, y, hi, secondHi, second);
        CombineRunTwice(row, lo, hi, first, idsAt(first, lo, y), second, idsAt(second, lo, y));
    }
}

} // namespace tidepool
