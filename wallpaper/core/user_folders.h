#pragma once

#include "wallpaper/core/environment.h"

#include <filesystem>
#include <string>

namespace tidepool {

// A folder of the user's to keep something in, or why there is none.
struct FolderChoice {
    std::filesystem::path folder;
    std::string error;
};

// $XDG_DATA_HOME, or ~/.local/share when XDG_DATA_HOME is unset or not an absolute path, as the
// XDG Base Directory rules say; empty, with the reason, when neither variable gives a folder.
FolderChoice DataFolder(const Environment& environment);

// $XDG_CONFIG_HOME, or ~/.config, likewise.
FolderChoice ConfigFolder(const Environment& environment);

// Where the wallpaper followers of this user keep their locks and logs: $XDG_RUNTIME_DIR/tidepool,
// which lasts as long as the user's sessions, or the cache folder's tidepool where no runtime
// folder is given.
FolderChoice FollowerFolder(const Environment& environment);

} // namespace tidepool
