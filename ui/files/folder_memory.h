#pragma once

#include <filesystem>

namespace tidepool {

// Makes the folder holding file the process's current folder, where the next save or open dialog
// opens and a relative picture path is taken from. Only a save or browse that succeeded does this,
// so a folder where saving failed (in /proc, say) never becomes the starting point. False, with
// nothing changed, when the folder cannot be entered.
bool EnterFolderOf(const std::filesystem::path& file);

} // namespace tidepool
