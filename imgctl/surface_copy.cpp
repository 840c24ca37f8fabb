#include "imgctl/surface_copy.h"

#include "imgctl/pixel.h"

#include <algorithm>
#include <cstddef>

namespace tidepool::imgctl {

namespace {

// The rectangle to copy, in source and in target coordinates.
struct CopyRect {
    ClippedRun across;
    ClippedRun down;

    bool empty() const { return across.length == 0 || down.length == 0; }
};

std::uint32_t* surfaceRow(const ImgctlSurface& surface, std::int64_t row) {
    return surface.pixels + row * surface.stride;
}

const std::uint32_t* dibRow(const Dib& dib, std::int64_t row) {
    return dib.pixels.data() + row * dib.width;
}

std::uint32_t* dibRow(Dib& dib, std::int64_t row) {
    return dib.pixels.data() + row * dib.width;
}

} // namespace

bool isValidSurface(const ImgctlSurface& surface) {
    return surface.pixels != nullptr && surface.width >= 0 && surface.height >= 0 &&
           surface.stride >= surface.width;
}

ClippedRun clipRun(std::int64_t sourceStart, std::int64_t sourceExtent, std::int64_t targetStart,
                   std::int64_t targetExtent, std::int64_t length) {
    if (length == 0)
        length = sourceExtent - sourceStart;
    const std::int64_t shift = targetStart - sourceStart;
    const std::int64_t begin = std::max({sourceStart, std::int64_t{0}, -shift});
    const std::int64_t end = std::min({sourceStart + length, sourceExtent, targetExtent - shift});
    if (end <= begin)
        return {};
    return {begin, begin + shift, end - begin};
}

void copyDibToSurface(const Dib& dib, std::int32_t srcX, std::int32_t srcY, std::int32_t width,
                      std::int32_t height, const ImgctlSurface& surface, std::int32_t x,
                      std::int32_t y) {
    const CopyRect rect{clipRun(srcX, dib.width, x, surface.width, width),
                        clipRun(srcY, dib.height, y, surface.height, height)};
    if (rect.empty())
        return;
    for (std::int64_t row = 0; row < rect.down.length; ++row) {
        const std::uint32_t* from = dibRow(dib, rect.down.source + row) + rect.across.source;
        std::uint32_t* to = surfaceRow(surface, rect.down.target + row) + rect.across.target;
        std::transform(from, from + rect.across.length, to, makeOpaque);
    }
}

std::unique_ptr<Dib> copySurfaceToDib(const ImgctlSurface& surface, std::int32_t x, std::int32_t y,
                                      std::int32_t width, std::int32_t height) {
    // Only the surface clips: the DIB is made as large as what is left of the region, so it is
    // taken as an unbounded target in the surface's own coordinates.
    constexpr std::int64_t kUnbounded = std::int64_t{1} << 40;
    const ClippedRun across = clipRun(x, surface.width, x, kUnbounded, width);
    const ClippedRun down = clipRun(y, surface.height, y, kUnbounded, height);
    if (across.length == 0 || down.length == 0)
        return nullptr;
    auto dib = allocateDib(across.length, down.length);
    if (!dib)
        return nullptr;
    for (std::int64_t row = 0; row < down.length; ++row) {
        const std::uint32_t* from = surfaceRow(surface, down.source + row) + across.source;
        std::transform(from, from + across.length, dibRow(*dib, row), makeOpaque);
    }
    return dib;
}

} // namespace tidepool::imgctl
