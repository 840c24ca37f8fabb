#pragma once

#include <filesystem>
#include <string>

namespace tidepool {

// The file:// address of a local file, percent-encoded (spaces, '#', '%' and non-ASCII bytes
// included), as the portal and the desktops that take an address expect.
std::string FileUri(const std::filesystem::path& file);

} // namespace tidepool
