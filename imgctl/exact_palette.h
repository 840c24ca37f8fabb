#pragma once

#include "imgctl/dib.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace tidepool::imgctl {

// A picture's own colours, when it has at most 256 of them: each once, in order of first
// appearance with rows top first (so the same picture always gives the same palette), and one
// index per pixel.
struct ExactPalette {
    static constexpr std::size_t kMaxColours = 256;

    std::vector<std::uint32_t> colours; // opaque pixels, 1 to kMaxColours of them
    std::vector<std::uint8_t> indices;  // one per pixel, rows top first
};

// Nothing for a picture of more colours; it stops at the 257th, so a photograph costs no more
// than a few rows.
std::optional<ExactPalette> exactPalette(const Dib& dib);

} // namespace tidepool::imgctl
