#pragma once

#include "imgctl/imgctl.h"

#include <cstdint>

namespace tidepool {

// The largest picture loaded as a background, whichever decoder reads it: a file claiming more is
// refused before its pixels are allocated, so a hostile header cannot exhaust memory. The codec
// plug-in applies the same limits to the files it decodes.
inline constexpr int kMaxPictureSide = IMGCTL_MAX_SIDE;
inline constexpr std::int64_t kMaxPicturePixels = IMGCTL_MAX_PIXELS;

constexpr bool WithinPictureLimits(std::int64_t width, std::int64_t height) {
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPicturePixels;
}

// What decoding one picture costs, worked out from its headers before any pixel is decoded.
struct DecodeCost {
    // Held at once: the picture as the program keeps it (4 bytes a pixel), any image the decoder
    // makes of its own, and what it keeps besides (a progressive JPEG's coefficients).
    std::int64_t bytes = 0;
    // Picture pixels times the passes the decoder makes over them (a JPEG's scans), the measure
    // of its time.
    std::int64_t pixelPasses = 0;
};

// The largest picture kept (256 MiB) and 32 MiB for the decoder, so that with the program
// itself loading any picture stays within about 320 MB.
inline constexpr std::int64_t kMaxDecodeBytes = std::int64_t{288} << 20;
// About a second of decoding on an ordinary desktop machine: a progressive JPEG of 41 M pixels
// (the most its memory allows) in up to 26 scans, or of 12 M pixels (4000 x 3000) in up to 89;
// encoders make about ten.
inline constexpr std::int64_t kMaxDecodePixelPasses = std::int64_t{1} << 30;

constexpr bool WithinDecodeBudget(const DecodeCost& cost) {
    return cost.bytes <= kMaxDecodeBytes && cost.pixelPasses <= kMaxDecodePixelPasses;
}

} // namespace tidepool
