#pragma once

#include "wallpaper/core/deadline.h"
#include "wallpaper/core/environment.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace tidepool {

// How long keeping or forgetting may take in all: a follower needs a moment to start.
inline constexpr std::chrono::milliseconds kKeepTimeLimit{5000};

// What keeping or forgetting the wallpaper did, each line naming what was checked afterwards, or
// the step that failed and why.
struct KeepReport {
    enum class Failure {
        None,
        NoFolder,      // no config folder to keep the entry in
        EntryNotSaved, // the autostart entry could not be written (or its program is missing) or
                       // removed
        NoFollower,    // no follower could be started, or one would not end
    };
    Failure failure = Failure::None;
    std::vector<std::string> lines; // done and checked, in order
    std::string error;              // one line, when failure is not None

    bool ok() const { return failure == Failure::None; }
};

// Keeps the wallpaper: writes the autostart entry that runs `renderer --follow-screens` at every
// login, then, unless a follower of this session's display already runs, starts one, detached
// from this process, in environment, with its output in the follower folder's
// follow-<display>.log, and waits until its lock shows it running, at most until the deadline.
KeepReport KeepWallpaper(const Environment& environment, const std::filesystem::path& renderer,
                         const Deadline& deadline = Deadline(kKeepTimeLimit));

// Forgets it: removes the autostart entry and ends every follower of this user (SIGTERM, then
// SIGKILL for one that has not ended by the deadline). Having nothing to remove or end is success.
KeepReport ForgetWallpaper(const Environment& environment,
                           const Deadline& deadline = Deadline(kKeepTimeLimit));

// Whether the wallpaper is kept: the autostart entry is there.
bool WallpaperKept(const Environment& environment);

// The renderer that stands beside the program in folder, as installed and built.
std::filesystem::path RendererBeside(const std::filesystem::path& folder);

} // namespace tidepool
