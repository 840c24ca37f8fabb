#include "wallpaper/core/wallpaper_plan.h"

#include <algorithm>

namespace tidepool {

WallpaperPlan PlanPictures(const std::vector<Screen>& screens, PictureSet set) {
    WallpaperPlan plan;
    const DeviceRect bounds = DesktopBounds(screens);
    if (bounds.width <= 0 || bounds.height <= 0) {
        plan.error = "no screen to put a wallpaper on";
        return plan;
    }
    plan.originX = bounds.x;
    plan.originY = bounds.y;
    if (set == PictureSet::OneForAll) {
        plan.pictures.push_back(bounds);
    } else {
        for (const Screen& screen : screens)
            plan.pictures.push_back(DeviceArea(screen));
    }
    for (const DeviceRect& area : plan.pictures) {
        if (std::string error = PictureSizeError(area.width, area.height); !error.empty()) {
            plan.error = std::move(error);
            plan.pictures.clear();
            return plan;
        }
    }
    return plan;
}

std::vector<DrawingSurface> ComposePictures(const DrawingSurface& canvas,
                                            const WallpaperPlan& plan) {
    std::vector<DrawingSurface> pictures;
    pictures.reserve(plan.pictures.size());
    for (const DeviceRect& area : plan.pictures)
        pictures.push_back(CutFromTiling(canvas, area, plan.originX, plan.originY));
    return pictures;
}

} // namespace tidepool
