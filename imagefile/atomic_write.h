#pragma once

#include "imagefile/write_result.h"

#include <filesystem>
#include <functional>

namespace tidepool {

// Writes a complete file into the path it is given (a temporary name chosen by AtomicWrite),
// opening that file rather than replacing it. Its failure reason need not name the path.
using FileWriter = std::function<WriteResult(const std::filesystem::path& path)>;

// Has write produce the file under a fresh temporary name in target's folder, forces it to disk
// and only then renames it over target. On any failure the temporary is removed and whatever was
// at target before is left exactly as it was. Every failure names target.
WriteResult AtomicWrite(const std::filesystem::path& target, const FileWriter& write);

} // namespace tidepool
