#pragma once

#include "imgctl/dib.h"
#include "imgctl/imgctl.h"

#include <cstdint>
#include <memory>

namespace tidepool::imgctl {

// A surface the plug-in may read or write: pixels present, no negative size, rows no shorter
// than the width.
bool isValidSurface(const ImgctlSurface& surface);

// Where a run of pixels along one axis comes from and goes to, after clipping.
struct ClippedRun {
    std::int64_t source = 0;
    std::int64_t target = 0;
    std::int64_t length = 0; // 0 when nothing is left
};

// Clips the run of `length` pixels starting at sourceStart in a source of sourceExtent pixels,
// placed at targetStart in a target of targetExtent pixels, to both. A length of 0 means "to the
// source's edge"; a negative one leaves nothing. Done in 64 bits, so no 32-bit input overflows.
ClippedRun clipRun(std::int64_t sourceStart, std::int64_t sourceExtent, std::int64_t targetStart,
                   std::int64_t targetExtent, std::int64_t length);

// Copies a region of the DIB onto the surface, as DIBtoDC describes. The surface must be valid.
void copyDibToSurface(const Dib& dib, std::int32_t srcX, std::int32_t srcY, std::int32_t width,
                      std::int32_t height, const ImgctlSurface& surface, std::int32_t x,
                      std::int32_t y);

// A new DIB of the surface's region clipped to the surface, as DCtoDIB describes; null when
// nothing is left or the region exceeds the size limits. The surface must be valid.
std::unique_ptr<Dib> copySurfaceToDib(const ImgctlSurface& surface, std::int32_t x, std::int32_t y,
                                      std::int32_t width, std::int32_t height);

} // namespace tidepool::imgctl
