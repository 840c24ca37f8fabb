#pragma once

#include <cstdint>

namespace tidepool::imgctl {

// Pixels are 0xAARRGGBB as native integers; the plug-in's own are always opaque.
constexpr std::uint32_t kOpaqueAlpha = 0xFF000000u;

constexpr std::uint8_t redOf(std::uint32_t pixel) {
    return static_cast<std::uint8_t>(pixel >> 16);
}
constexpr std::uint8_t greenOf(std::uint32_t pixel) {
    return static_cast<std::uint8_t>(pixel >> 8);
}
constexpr std::uint8_t blueOf(std::uint32_t pixel) {
    return static_cast<std::uint8_t>(pixel);
}

constexpr std::uint32_t opaquePixel(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return kOpaqueAlpha | std::uint32_t{red} << 16 | std::uint32_t{green} << 8 | blue;
}

constexpr std::uint32_t makeOpaque(std::uint32_t pixel) {
    return pixel | kOpaqueAlpha;
}

} // namespace tidepool::imgctl
