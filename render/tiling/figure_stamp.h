#pragma once

// A stamp is what a group of figures leaves on the pixels once drawn, each pixel in the colour
// the last figure to touch it gave it, kept as runs relative to a base pixel. Hard-edged figures
// drawn in a fixed order leave the same pixels wherever they land on the pixel grid alike, so
// writing the stamp's runs gives exactly what drawing the figures one by one would.

#include "render/raster/drawing_surface.h"
#include "render/settings/colour.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace tidepool {

// What a scratch surface holds where nothing has been drawn: drawn pixels are always opaque.
inline constexpr Pixel kUntouched = 0;

struct StampRun {
    std::int32_t offset; // of its first pixel from the base pixel, in a grid of the stamp's stride
    std::int16_t dy;     // row, from the base pixel
    std::int16_t x0;     // first and last column, inclusive, from the base pixel
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
    int stride = 0;             // width of the grid the run offsets are for
    // Inclusive bounds of the runs; left > right when there are none.
    int left = 0;
    int right = -1;
    int top = 0;
    int bottom = -1;
    // What the figures leave a surface's attributes at; nothing when the stamp's site has none.
    std::optional<StampAttributes> after;
};

// The stamp of what was drawn on scratch since it was filled with kUntouched and its extent was
// reset, relative to scratch pixel (baseX, baseY), for drawing in grids stride values wide.
Stamp StampFromScratch(const DrawingSurface& scratch, int baseX, int baseY, int stride);

// Tuples of pixels, one from each of several surfaces, named by small indexes in order of first
// appearance. Index 0 is the tuple the surfaces hold where nothing is drawn.
class PixelTuples {
  public:
    static constexpr std::size_t kMaxTuples = 256;

    explicit PixelTuples(std::vector<Pixel> background)
        : arity_(background.size()), pixels_(std::move(background)) {}

    std::size_t arity() const { return arity_; }
    std::size_t size() const { return pixels_.size() / arity_; }
    // Pixel k of tuple i.
    Pixel at(std::size_t i, std::size_t k) const { return pixels_[i * arity_ + k]; }

    // The index of the tuple of arity() pixels at values, added when new; nothing once
    // kMaxTuples are named.
    std::optional<std::uint32_t> indexOf(const Pixel* values);

  private:
    std::size_t arity_;
    std::vector<Pixel> pixels_; // tuple after tuple
};

// The stamp of what was drawn on scratches, surfaces of one size prepared alike and given the
// same figures in other colours, with each pixel's value the index of its tuple in tuples (one
// pixel from each scratch). Nothing when the scratches differ in which pixels were drawn, or
// when tuples is full.
std::optional<Stamp> TupleStampFromScratches(const std::vector<DrawingSurface>& scratches,
                                             int baseX, int baseY, int stride, PixelTuples& tuples);

// Set the n >= 1 values from first to value. Most runs are a few values long, too short for the
// library call compilers make of a loop of bytes, or for a vector loop, to pay; these are written
// as two word stores that overlap as much as they must.
inline void FillRun(std::uint32_t* first, int n, std::uint32_t value) {
    if (n == 1) {
        *first = value;
        return;
    }
    const std::uint64_t two = std::uint64_t{value} << 32 | value;
    std::uint32_t* const last = first + n - 2;
    for (; first < last; first += 2)
        std::memcpy(first, &two, 8);
    std::memcpy(last, &two, 8);
}

inline void FillRun(std::uint8_t* first, int n, std::uint8_t value) {
    const std::uint64_t eight = 0x0101010101010101u * value;
    if (n >= 8) {
        std::uint8_t* const last = first + n - 8;
        for (; first < last; first += 8)
            std::memcpy(first, &eight, 8);
        std::memcpy(last, &eight, 8);
    } else if (n >= 4) {
        std::memcpy(first, &eight, 4);
        std::memcpy(first + n - 4, &eight, 4);
    } else if (n >= 2) {
        std::memcpy(first, &eight, 2);
        std::memcpy(first + n - 2, &eight, 2);
    } else {
        *first = value;
    }
}

// Writes the stamp into a row-major grid of width x height values with its base at (x, y),
// clipped to the grid.
template <class Value>
void DrawStamp(const Stamp& stamp, Value* values, int width, int height, int x, int y) {
    const bool inside = x + stamp.left >= 0 && x + stamp.right < width && y + stamp.top >= 0 &&
                        y + stamp.bottom < height;
    if (inside && stamp.stride == width) {
        // The base pixel itself may lie off the grid; only the runs' pixels are on it.
        const std::ptrdiff_t base = static_cast<std::ptrdiff_t>(y) * width + x;
        for (const StampRun& run : stamp.runs)
            FillRun(values + (base + run.offset), run.x1 - run.x0 + 1,
                    static_cast<Value>(run.value));
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
        if (x0 <= x1)
            FillRun(values + static_cast<std::size_t>(row) * width + x0, x1 - x0 + 1,
                    static_cast<Value>(run.value));
    }
}

} // namespace tidepool
