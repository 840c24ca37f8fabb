#pragma once

// A stamp is what a group of figures leaves on the pixels once drawn, each pixel in the colour
// the last figure to touch it gave it, kept as runs relative to a base pixel. Hard-edged figures
// drawn in a fixed order leave the same pixels wherever they land on the pixel grid alike, so
// writing the stamp's runs gives exactly what drawing the figures one by one would.

#include "render/colour.h"
#include "render/drawing_surface.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace tidepool {

// What a scratch surface holds where nothing has been drawn: drawn pixels are always opaque.
inline constexpr Pixel kUntouched = 0;

struct StampRun {
    std::int16_t dy; // row, from the base pixel
    std::int16_t x0; // first and last column, inclusive, from the base pixel
    std::int16_t x1;
    std::uint32_t value; // a pixel, or the index of a pixel pair
};

// The attributes a surface holds after the stamp's figures have been drawn on it.
struct StampAttributes {
    std::int16_t drawWidth = 1;
    std::int16_t fillStyle = 0;
    Colour foreColor = 0;
    Colour fillColor = 0;
};

struct Stamp {
    std::vector<StampRun> runs; // row by row, top first
    // Inclusive bounds of the runs; left > right when there are none.
    int left = 0;
    int right = -1;
    int top = 0;
    int bottom = -1;
    // What the figures leave a surface's attributes at; nothing when the stamp's site has none.
    std::optional<StampAttributes> after;
};

// The stamp of what was drawn on scratch since it was filled with kUntouched and its extent was
// reset, relative to scratch pixel (baseX, baseY).
Stamp StampFromScratch(const DrawingSurface& scratch, int baseX, int baseY);

// Pairs of pixels, one from each of two surfaces, named by small indexes in order of first
// appearance. Index 0 is the pair the two surfaces hold where nothing is drawn.
class PixelPairs {
  public:
    static constexpr std::size_t kMaxPairs = 256;

    explicit PixelPairs(std::pair<Pixel, Pixel> background) : pairs_{background} {}

    // The index of the pair, added when new; nothing once kMaxPairs are named.
    std::optional<std::uint32_t> indexOf(Pixel first, Pixel second);
    const std::vector<std::pair<Pixel, Pixel>>& pairs() const { return pairs_; }

  private:
    std::vector<std::pair<Pixel, Pixel>> pairs_;
};

// The stamp of what was drawn on first and second, two scratch surfaces of one size prepared
// alike and given the same figures in other colours, with each pixel's value the index of its pair
// in pairs. Nothing when the two differ in which pixels were drawn, or when pairs is full.
std::optional<Stamp> PairStampFromScratches(const DrawingSurface& first,
                                            const DrawingSurface& second, int baseX, int baseY,
                                            PixelPairs& pairs);

// Writes the stamp into a row-major grid of width x height values with its base at (x, y),
// clipped to the grid.
template <class Value>
void DrawStamp(const Stamp& stamp, Value* values, int width, int height, int x, int y) {
    const bool inside = x + stamp.left >= 0 && x + stamp.right < width && y + stamp.top >= 0 &&
                        y + stamp.bottom < height;
    if (inside) {
        for (const StampRun& run : stamp.runs) {
            Value* row = values + static_cast<std::size_t>(y + run.dy) * width + x;
            const auto value = static_cast<Value>(run.value);
            for (int i = run.x0; i <= run.x1; ++i)
                row[i] = value;
        }
        return;
    }
    if (x + stamp.right < 0 || x + stamp.left >= width || y + stamp.bottom < 0 ||
        y + stamp.top >= height)
        return;
    for (const StampRun& run : stamp.runs) {
        const int row = y + run.dy;
        if (row < 0 || row >= height)
            continue;
        const int x0 = std::max(x + run.x0, 0), x1 = std::min(x + run.x1, width - 1);
        Value* line = values + static_cast<std::size_t>(row) * width;
        const auto value = static_cast<Value>(run.value);
        for (int i = x0; i <= x1; ++i)
            line[i] = value;
    }
}

} // namespace tidepool
