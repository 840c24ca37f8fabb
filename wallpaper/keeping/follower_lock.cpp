#include "wallpaper/keeping/follower_lock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace tidepool {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPrefix = "follow-";
constexpr std::string_view kSuffix = ".lock";

struct flock WholeFile(short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    return lock;
}

std::optional<pid_t> HolderOf(int fd) {
    struct flock lock = WholeFile(F_WRLCK);
    if (::fcntl(fd, F_GETLK, &lock) != 0 || lock.l_type == F_UNLCK || lock.l_pid <= 0)
        return std::nullopt;
    return lock.l_pid;
}

} // namespace

std::string SessionDisplay(const Environment& environment) {
    const std::string wayland = Lookup(environment, "WAYLAND_DISPLAY");
    return wayland.empty() ? Lookup(environment, "DISPLAY") : wayland;
}

fs::path FollowerLockFile(const fs::path& folder, const std::string& display) {
    std::string name(kPrefix);
    for (const char c : display) {
        if (c == '/')
            name += "%2F";
        else if (c == '%')
            name += "%25";
        else
            name += c;
    }
    return folder / (name + std::string(kSuffix));
}

FollowerLock::FollowerLock(const fs::path& file) {
    std::error_code created;
    if (fs::create_directories(file.parent_path(), created))
        fs::permissions(file.parent_path(), fs::perms::owner_all, created);
    fd_ = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ < 0) {
        error_ = "cannot open " + file.string() + ": " + std::strerror(errno);
        return;
    }
    struct flock lock = WholeFile(F_WRLCK);
    if (::fcntl(fd_, F_SETLK, &lock) == 0) {
        held_ = true;
        return;
    }
    const int error = errno;
    holder_ = HolderOf(fd_);
    if (!holder_)
        error_ = "cannot lock " + file.string() + ": " + std::strerror(error);
}

FollowerLock::~FollowerLock() {
    if (fd_ >= 0)
        ::close(fd_);
}

std::optional<pid_t> FollowerHolding(const fs::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return std::nullopt;
    const std::optional<pid_t> holder = HolderOf(fd);
    ::close(fd);
    return holder;
}

std::vector<pid_t> RunningFollowers(const fs::path& folder) {
    std::vector<pid_t> followers;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(kPrefix) || !name.ends_with(kSuffix))
            continue;
        if (const std::optional<pid_t> holder = FollowerHolding(entry.path()))
            followers.push_back(*holder);
    }
    return followers;
}

} // namespace tidepool
