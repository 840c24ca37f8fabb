#include "imagefile/current_folder.h"

#include <system_error>

namespace tidepool {

// Both changes are best effort: a folder that cannot be entered leaves the current one in place,
// which is no worse for the plug-in than never having changed it.
ScopedCurrentFolder::ScopedCurrentFolder(const std::filesystem::path& folder) {
    std::error_code error;
    previous_ = std::filesystem::current_path(error);
    if (error || folder.empty()) {
        previous_.clear();
        return;
    }
    std::filesystem::current_path(folder, error);
    if (error)
        previous_.clear();
}

ScopedCurrentFolder::~ScopedCurrentFolder() {
    if (previous_.empty())
        return;
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
}

} // namespace tidepool
