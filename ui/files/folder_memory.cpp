#include "ui/files/folder_memory.h"

#include <system_error>

namespace tidepool {

bool EnterFolderOf(const std::filesystem::path& file) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(file, error);
    if (error)
        return false;
    std::filesystem::current_path(absolute.parent_path(), error);
    return !error;
}

} // namespace tidepool
