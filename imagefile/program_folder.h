#pragma once

#include <filesystem>
#include <vector>

namespace tidepool {

// The folder holding the running executable, which is the current folder while the codec
// plug-in runs. Empty when the platform cannot tell.
std::filesystem::path ProgramFolder();

// The folders the codec plug-in is looked for in, first match first: the private folder an
// installed program keeps it in (<prefix>/<libdir>/tidepool for <prefix>/bin, so
// /usr/lib/x86_64-linux-gnu/tidepool in the Debian package), then the program's own folder, where
// a build tree and a copied folder keep it. Empty for an empty program folder.
std::vector<std::filesystem::path> PlugInFolders(const std::filesystem::path& programFolder);

} // namespace tidepool
