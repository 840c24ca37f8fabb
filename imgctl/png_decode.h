#pragma once

#include "imgctl/dib.h"
#include "imgctl/png_file.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace tidepool::imgctl {

// Rows of 32-bit pixels to decode into: `stride` pixels from one row's start to the next.
struct PixelRows {
    std::uint32_t* first;
    std::ptrdiff_t stride;
};

// A DIB standing for the whole PNG file at path, its pixels still in the file; null when the file
// is not a whole PNG of an allowed size (see PngFile).
std::unique_ptr<Dib> openPngDib(const char* path);

// Decodes the picture into rows of at least its width and height, as opaque 0xFFRRGGBB,
// transparent parts composited over white. Decoding stops as soon as the image's rows are
// complete: compressed data after them is passed over uninflated, and text chunks are never
// inflated. False when the image data is damaged or too short; the rows are then partly written.
bool decodePng(const PngFile& png, const PixelRows& rows);

// The DIB with its pixels in memory: dib itself when they are, otherwise a new DIB decoded from
// its file. Null when decoding fails or memory runs out.
std::shared_ptr<const Dib> withPixels(std::shared_ptr<const Dib> dib);

} // namespace tidepool::imgctl
