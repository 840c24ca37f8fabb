#pragma once

#include <filesystem>
#include <system_error>

namespace tidepool {

// Whether an ordinary file (not a folder) exists at path as given. Anything the file system
// cannot answer counts as no.
inline bool IsOrdinaryFile(const std::filesystem::path& path) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(path, ignored);
}

} // namespace tidepool
