#pragma once

#include <filesystem>
#include <random>
#include <string>
#include <system_error>
#include <vector>

namespace tidepool::testing {

// A fresh empty folder for one test, removed with everything in it afterwards.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::mt19937_64 random{std::random_device{}()};
        path_ =
            std::filesystem::temp_directory_path() / ("tidepool-test-" + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

    // The names of everything in the folder, to catch leftovers such as temporary files.
    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            found.push_back(entry.path().filename().string());
        return found;
    }

  private:
    std::filesystem::path path_;
};

} // namespace tidepool::testing
