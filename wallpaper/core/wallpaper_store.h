#pragma once

#include "render/raster/drawing_surface.h"
#include "wallpaper/core/environment.h"
#include "wallpaper/core/user_folders.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace tidepool {

class CodecLibrary;

// The folder wallpapers put on the desktop are kept in: $XDG_DATA_HOME/tidepool, or
// ~/.local/share/tidepool when XDG_DATA_HOME is unset or not an absolute path. Empty, with the
// reason, when neither variable gives a folder.
FolderChoice WallpaperFolder(const Environment& environment);

// How many applications' files the folder keeps: the desktop shows the newest, and a desktop
// that is slow to pick it up may still read the one before.
inline constexpr int kApplicationsKept = 3;

// The files written for one application, or why there are none.
struct StoredPictures {
    std::vector<std::filesystem::path> files;
    std::string error;

    bool ok() const { return error.empty(); }
};

// Writes the pictures of one application into folder, creating it when missing, under names never
// used there before (some desktops cache a picture by its path): a counter one past the highest
// stored, and the time now in UTC. PNG through the codec plug-in, BMP without it. Every file is
// written completely or the application leaves nothing behind. Then removes the files of all but
// the newest kApplicationsKept applications by counter, never one just written; no other file is
// ever touched.
StoredPictures StorePictures(const std::filesystem::path& folder,
                             const std::vector<DrawingSurface>& pictures, CodecLibrary& codec,
                             std::chrono::system_clock::time_point now);

// The same for count pictures made one at a time by picture(i) as each is written, so that only
// one is held at once: a desktop of several large screens needs no room for all of them.
StoredPictures StorePictures(const std::filesystem::path& folder, std::size_t count,
                             const std::function<DrawingSurface(std::size_t)>& picture,
                             CodecLibrary& codec, std::chrono::system_clock::time_point now);

} // namespace tidepool
