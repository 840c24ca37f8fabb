#include "render/raster/drawing_surface.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace tidepool {

namespace {

constexpr Pixel kOpaque = 0xFF000000u;

void combineSpan(Pixel* d, const Pixel* s, int n, RasterOp op) {
    switch (op) {
    case RasterOp::Copy:
        std::copy(s, s + n, d);
        return;
    case RasterOp::And:
        for (int i = 0; i < n; ++i)
            d[i] = (d[i] & s[i]) | kOpaque;
        return;
    case RasterOp::Xor:
        for (int i = 0; i < n; ++i)
            d[i] = (d[i] ^ s[i]) | kOpaque;
        return;
    }
}

} // namespace

void blit(DrawingSurface& destination, const DrawingSurface& source, int x, int y, RasterOp op) {
    if (&destination == &source) {
        // Overlapping rows would read what this very copy has just written.
        const DrawingSurface copy = source;
        blit(destination, copy, x, y, op);
        return;
    }
    const std::int64_t left = std::max<std::int64_t>(x, 0);
    const std::int64_t right =
        std::min<std::int64_t>(std::int64_t{x} + source.width(), destination.width());
    const std::int64_t top = std::max<std::int64_t>(y, 0);
    const std::int64_t bottom =
        std::min<std::int64_t>(std::int64_t{y} + source.height(), destination.height());
    if (left >= right || top >= bottom)
        return;
    const int n = static_cast<int>(right - left);
    for (std::int64_t row = top; row < bottom; ++row) {
        Pixel* d = destination.pixels() + row * destination.width() + left;
        const Pixel* s = source.pixels() + (row - y) * source.width() + (left - x);
        combineSpan(d, s, n, op);
    }
}

} // namespace tidepool
