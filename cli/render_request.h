#pragma once

#include "render/settings/main_settings.h"
#include "render/settings/render_settings.h"

#include <string>

namespace tidepool::cli {

// Everything one run of the renderer draws and where it goes. Settings start as the main
// window's after loading, so a bare command draws what the window's first drawing draws.
struct RenderRequest {
    MainSettings settings;
    RenderSettings render;
    std::string output;          // empty when the wallpaper only goes on the desktop
    bool setWallpaper = false;   // put it on the desktop too
    double wallpaperSeconds = 5; // how long putting it on the desktop may take in all
};

} // namespace tidepool::cli
