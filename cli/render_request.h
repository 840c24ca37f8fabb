#pragma once

#include "render/settings/main_settings.h"
#include "render/settings/render_settings.h"
#include "wallpaper/apply_wallpaper.h"

#include <chrono>
#include <string>

namespace tidepool::cli {

// Everything one run of the renderer draws and where it goes. Settings start as the main
// window's after loading, so a bare command draws what the window's first drawing draws.
struct RenderRequest {
    MainSettings settings;
    RenderSettings render;
    std::string output;         // empty when the wallpaper only goes on the desktop
    bool setWallpaper = false;  // put it on the desktop too
    bool keepWallpaper = false; // and keep it there, at every login and screen change
    // False for the blank canvas the window shows before its first drawing, put back from a
    // saved wallpaper: nothing is drawn on it.
    bool drawn = true;
    // How long putting it on the desktop may take in all, by default as long as the window's.
    static constexpr double kDefaultWallpaperSeconds =
        std::chrono::duration<double>(kDefaultWallpaperTimeLimit).count();
    double wallpaperSeconds = kDefaultWallpaperSeconds;
};

} // namespace tidepool::cli
