#pragma once

#include "imagefile/write_result.h"

#include <filesystem>
#include <functional>
#include <string_view>

namespace tidepool {

// Writes a complete file into the path it is given (a temporary name chosen by AtomicWrite),
// opening that file rather than replacing it. Its failure reason need not name the path.
using FileWriter = std::function<WriteResult(const std::filesystem::path& path)>;

// Has write produce the file under a fresh temporary name in target's folder, forces it to disk,
// renames it over target and forces the folder to disk, so the new name survives a power cut.
// A symlink at target is followed: the link stays and the file it leads to is replaced. A file
// that is replaced hands its permission bits (and, as far as the system allows, its owner and
// group) on to the new one; a new file gets the mode the umask leaves. The temporary's name is
// short and of one length, so every name the file system takes for target can be written. On
// any failure before the rename the temporary is removed and whatever was at target before is
// left exactly as it was. Every failure names target.
WriteResult AtomicWrite(const std::filesystem::path& target, const FileWriter& write);

// AtomicWrite of a file holding exactly these bytes: a settings file, a desktop entry.
WriteResult AtomicWriteText(const std::filesystem::path& target, std::string_view text);

} // namespace tidepool
