#include "imgctl/dib.h"

#include "imgctl/imgctl.h"

#include <cstddef>

namespace tidepool::imgctl {

bool isAllowedSize(std::int64_t width, std::int64_t height) {
    return width >= 1 && height >= 1 && width <= IMGCTL_MAX_SIDE && height <= IMGCTL_MAX_SIDE &&
           width * height <= IMGCTL_MAX_PIXELS;
}

std::unique_ptr<Dib> allocateDib(std::int64_t width, std::int64_t height) {
    if (!isAllowedSize(width, height))
        return nullptr;
    auto dib = std::make_unique<Dib>();
    dib->width = static_cast<std::int32_t>(width);
    dib->height = static_cast<std::int32_t>(height);
    dib->pixels.resize(static_cast<std::size_t>(width * height));
    return dib;
}

} // namespace tidepool::imgctl
