#pragma once

#include "imgctl/dib.h"

#include <gif_lib.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace tidepool::imgctl {

// A picture as a GIF stores it: up to 256 colours and one palette index per pixel.
struct IndexedPicture {
    std::vector<GifColorType> palette; // 1 to 256 entries, not yet padded to a power of two
    std::vector<GifByteType> indices;  // one per pixel, rows top first
};

// The picture's own colours when it has at most 256 of them, so it survives unchanged;
// otherwise a median-cut palette of 256. Empty when quantising fails.
std::optional<IndexedPicture> indexPicture(const Dib& dib);

} // namespace tidepool::imgctl
