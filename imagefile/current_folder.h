#pragma once

#include <filesystem>

namespace tidepool {

// Makes a folder the process's current folder for as long as it lives, then restores the one
// that was current before. The codec plug-in is called from the program's folder this way, so
// that anything it looks for there is found; callers must make their own paths absolute first.
class ScopedCurrentFolder {
  public:
    explicit ScopedCurrentFolder(const std::filesystem::path& folder);
    ~ScopedCurrentFolder();
    ScopedCurrentFolder(const ScopedCurrentFolder&) = delete;
    ScopedCurrentFolder& operator=(const ScopedCurrentFolder&) = delete;

  private:
    std::filesystem::path previous_;
};

} // namespace tidepool
