#include "wallpaper/core/desktop_tiling.h"

#include "imagefile/picture_limits.h"

#include <algorithm>
#include <cmath>

namespace tidepool {

namespace {

// The remainder of a divided by b, from 0 to b - 1 whatever the sign of a.
int FloorMod(long long a, int b) {
    const long long r = a % b;
    return static_cast<int>(r < 0 ? r + b : r);
}

int DevicePixels(int logical, double scale) {
    return static_cast<int>(std::lround(logical * scale));
}

// Fills one row of the cut from a canvas row, starting at canvas column first and wrapping.
void CopyWrappedRow(const Pixel* source, int sourceWidth, int first, Pixel* row, int width) {
    int column = first;
    for (int filled = 0; filled < width;) {
        const int run = std::min(sourceWidth - column, width - filled);
        std::copy_n(source + column, run, row + filled);
        filled += run;
        column = 0;
    }
}

} // namespace

std::string PictureSizeError(int width, int height) {
    if (width > 0 && height > 0 && WithinPictureLimits(width, height))
        return {};
    return "the desktop needs a picture of " + std::to_string(width) + " x " +
           std::to_string(height) + " pixels; the largest that can be made is " +
           std::to_string(kMaxPictureSide) + " pixels on a side and " +
           std::to_string(kMaxPicturePixels) + " pixels in all";
}

DeviceRect DeviceArea(const Screen& screen) {
    return {DevicePixels(screen.x, screen.scale), DevicePixels(screen.y, screen.scale),
            DevicePixels(screen.width, screen.scale), DevicePixels(screen.height, screen.scale)};
}

DeviceRect DesktopBounds(const std::vector<Screen>& screens) {
    if (screens.empty())
        return {};
    DeviceRect first = DeviceArea(screens.front());
    int left = first.x, top = first.y;
    int right = first.x + first.width, bottom = first.y + first.height;
    for (const Screen& screen : screens) {
        const DeviceRect area = DeviceArea(screen);
        left = std::min(left, area.x);
        top = std::min(top, area.y);
        right = std::max(right, area.x + area.width);
        bottom = std::max(bottom, area.y + area.height);
    }
    return {left, top, right - left, bottom - top};
}

DrawingSurface CutFromTiling(const DrawingSurface& canvas, const DeviceRect& area, int originX,
                             int originY) {
    DrawingSurface cut(area.width, area.height);
    const int tileWidth = canvas.width();
    const int tileHeight = canvas.height();
    if (cut.width() == 0 || cut.height() == 0 || tileWidth == 0 || tileHeight == 0)
        return cut;
    const int firstColumn = FloorMod(static_cast<long long>(area.x) - originX, tileWidth);
    const int firstRow = FloorMod(static_cast<long long>(area.y) - originY, tileHeight);
    for (int y = 0; y < cut.height(); ++y) {
        Pixel* row = cut.pixels() + static_cast<std::size_t>(y) * cut.width();
        // A row seen a tile's height ago is the same row again.
        if (y >= tileHeight) {
            std::copy_n(row - static_cast<std::size_t>(tileHeight) * cut.width(), cut.width(), row);
            continue;
        }
        const int sourceRow = (firstRow + y) % tileHeight;
        CopyWrappedRow(canvas.pixels() + static_cast<std::size_t>(sourceRow) * tileWidth, tileWidth,
                       firstColumn, row, cut.width());
    }
    return cut;
}

} // namespace tidepool
