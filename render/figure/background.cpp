#include "render/figure/background.h"

#include <algorithm>

namespace tidepool {

// Tiles laid at (c * pw + 1, r * ph + 1) do not overlap and cover everything right of and below
// pixel (1, 1), so filling the canvas row by row with the picture repeated gives the same pixels
// as copying every tile, and stays fast for a picture of one pixel.
void ComposeBackground(DrawingSurface& canvas, const DrawingSurface& picture) {
    const int pw = picture.width(), ph = picture.height();
    const int w = canvas.width(), h = canvas.height();
    if (pw <= 0 || ph <= 0 || w <= 1 || h <= 1)
        return;
    const auto span = static_cast<std::size_t>(w - 1);
    auto canvasRow = [&](int y) { return canvas.pixels() + static_cast<std::size_t>(y) * w + 1; };
    for (int y = 1; y < h; ++y) {
        Pixel* destination = canvasRow(y);
        if (y > ph) {
            // Below the first row of tiles every row repeats the one ph lines above.
            std::copy_n(canvasRow(y - ph), span, destination);
            continue;
        }
        const Pixel* source = picture.pixels() + static_cast<std::size_t>(y - 1) * pw;
        for (std::size_t x = 0; x < span; x += static_cast<std::size_t>(pw))
            std::copy_n(source, std::min<std::size_t>(pw, span - x), destination + x);
    }
}

} // namespace tidepool
