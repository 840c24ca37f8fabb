#pragma once

#include "wallpaper/core/desktop_tiling.h"

#include <string>
#include <vector>

namespace tidepool {

// What a desktop takes: one picture per screen, or one picture spanning every screen.
enum class PictureSet { OnePerScreen, OneForAll };

// The pictures a desktop gets, all cut from one tiling whose tile corner is the desktop's top-left
// corner, so that they line up across screens; or, in error, why none can be made.
struct WallpaperPlan {
    std::vector<DeviceRect> pictures; // the area of the desktop each picture shows, screens' order
    int originX = 0;
    int originY = 0;
    std::string error;
};

// Plans the pictures for the screens. Refuses a picture PictureSizeError refuses rather than
// composing without bound, and a desktop without a screen.
WallpaperPlan PlanPictures(const std::vector<Screen>& screens, PictureSet set);

// Cuts the planned pictures from the canvas.
std::vector<DrawingSurface> ComposePictures(const DrawingSurface& canvas,
                                            const WallpaperPlan& plan);

} // namespace tidepool
