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

} // namespace tidepool
