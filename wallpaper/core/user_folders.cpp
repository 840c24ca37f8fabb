#include "wallpaper/core/user_folders.h"

namespace tidepool {

namespace {

namespace fs = std::filesystem;

// $name where it is an absolute path, else home's folder under HOME.
FolderChoice XdgFolder(const Environment& environment, const std::string& name,
                       const fs::path& underHome) {
    const fs::path given = Lookup(environment, name);
    if (given.is_absolute())
        return {given, ""};
    const fs::path home = Lookup(environment, "HOME");
    if (home.is_absolute())
        return {home / underHome, ""};
    return {{}, "neither " + name + " nor HOME names a folder"};
}

} // namespace

FolderChoice DataFolder(const Environment& environment) {
    return XdgFolder(environment, "XDG_DATA_HOME", fs::path(".local") / "share");
}

FolderChoice ConfigFolder(const Environment& environment) {
    return XdgFolder(environment, "XDG_CONFIG_HOME", ".config");
}

FolderChoice FollowerFolder(const Environment& environment) {
    const fs::path runtime = Lookup(environment, "XDG_RUNTIME_DIR");
    if (runtime.is_absolute())
        return {runtime / "tidepool", ""};
    FolderChoice cache = XdgFolder(environment, "XDG_CACHE_HOME", ".cache");
    if (cache.error.empty())
        cache.folder /= "tidepool";
    return cache;
}

} // namespace tidepool
