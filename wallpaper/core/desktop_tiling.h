#pragma once

#include "render/raster/drawing_surface.h"

#include <string>
#include <vector>

namespace tidepool {

// A rectangle of the desktop in device pixels, from the desktop's own coordinate origin.
struct DeviceRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const DeviceRect&) const = default;
};

// One screen as the desktop lays it out: its output name, its place and size in the desktop's
// logical pixels, and its scale, the device pixels per logical pixel (2 on a HiDPI screen).
struct Screen {
    std::string name;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    double scale = 1;

    bool operator==(const Screen&) const = default;
};

// The screen in device pixels: its logical place and size times its scale, so that a wallpaper
// cut for it is shown one pixel to one pixel of the screen.
DeviceRect DeviceArea(const Screen& screen);

// The smallest rectangle holding every screen's device area; empty without screens.
DeviceRect DesktopBounds(const std::vector<Screen>& screens);

// Why no picture of width x height can be made for the desktop, naming its size and the limit;
// empty when one can. The limit is the codec's own, so that a desktop too large for it is refused
// before anything is drawn or allocated rather than when the picture is written.
std::string PictureSizeError(int width, int height);

// The part area of the canvas repeated endlessly over the desktop with a tile's top-left corner at
// (originX, originY): desktop pixel (x, y) shows canvas pixel ((x - originX) mod width,
// (y - originY) mod height). The canvas must not be empty, and the area must pass
// PictureSizeError.
DrawingSurface CutFromTiling(const DrawingSurface& canvas, const DeviceRect& area, int originX,
                             int originY);

} // namespace tidepool
