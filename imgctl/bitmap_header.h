#pragma once

#include "imgctl/dib.h"

#include <array>
#include <cstdint>

namespace tidepool::imgctl {

// The DIB described as a BITMAPINFOHEADER: 40 bytes, little endian, 32 bits per pixel,
// uncompressed, positive height. Built byte by byte so the layout does not depend on how a
// compiler packs a struct or on the machine's byte order.
std::array<std::uint8_t, 40> bitmapInfoHeader(const Dib& dib);

} // namespace tidepool::imgctl
