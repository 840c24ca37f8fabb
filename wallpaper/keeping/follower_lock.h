#pragma once

#include "wallpaper/core/environment.h"

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tidepool {

// The display a follower keeps the wallpaper on: WAYLAND_DISPLAY where it is set, else DISPLAY;
// empty where neither is.
std::string SessionDisplay(const Environment& environment);

// The lock file of the follower of display in folder: follow-<display>.lock, with '/' and '%'
// written as %2F and %25 so that any display name makes one file name.
std::filesystem::path FollowerLockFile(const std::filesystem::path& folder,
                                       const std::string& display);

// The one follower of a display: a write lock on its lock file (a POSIX record lock, which the
// system lets go of when the process ends, however it ends, and which names the process holding
// it). The folder is made private to the user when it is created.
class FollowerLock {
  public:
    explicit FollowerLock(const std::filesystem::path& file);
    FollowerLock(const FollowerLock&) = delete;
    FollowerLock& operator=(const FollowerLock&) = delete;
    ~FollowerLock();

    bool held() const { return held_; }
    // When not held: the process that holds it, if one does; and why it could not be taken.
    std::optional<pid_t> holder() const { return holder_; }
    const std::string& error() const { return error_; }

  private:
    int fd_ = -1;
    bool held_ = false;
    std::optional<pid_t> holder_;
    std::string error_;
};

// The process holding the lock file, if one does; never takes it.
std::optional<pid_t> FollowerHolding(const std::filesystem::path& file);

// The processes holding any follower's lock in folder: every display's follower of this user.
std::vector<pid_t> RunningFollowers(const std::filesystem::path& folder);

} // namespace tidepool
