#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace tidepool::imgctl {

class PngFile;

// A picture the plug-in owns. Pixels are 0xFFRRGGBB, rows top first, no padding. A DIB is never
// changed once it has a handle, so readers can share it while another thread deletes the handle.
//
// A DIB read from a PNG file keeps its pixels in the file (`undecoded`, `pixels` empty) until they
// are wanted, and then they are decoded straight into the caller's surface, so that a picture is
// never in memory twice (see png_decode.h).
struct Dib {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint32_t> pixels;
    std::shared_ptr<const PngFile> undecoded;
};

// Whether a picture of this size may be made: at least one pixel, within the plug-in's limits.
bool isAllowedSize(std::int64_t width, std::int64_t height);

// A DIB of this size with every pixel 0, or null when the size is not allowed. The size is
// checked before anything is allocated.
std::unique_ptr<Dib> allocateDib(std::int64_t width, std::int64_t height);

} // namespace tidepool::imgctl
