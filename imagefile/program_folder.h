#pragma once

#include <filesystem>

namespace tidepool {

// The folder holding the running executable, where the codec plug-in is looked for. Empty when
// the platform cannot tell.
std::filesystem::path ProgramFolder();

} // namespace tidepool
