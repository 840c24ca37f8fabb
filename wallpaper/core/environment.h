#pragma once

#include <map>
#include <string>

namespace tidepool {

// The environment variables that decide how a wallpaper is put on the desktop (the desktop's
// name, the data folder, PATH, the display and the session bus), passed as a value so that tests
// set their own.
using Environment = std::map<std::string, std::string>;

// This process's environment.
Environment ProcessEnvironment();

// The value of a variable, empty when it is unset.
std::string Lookup(const Environment& environment, const std::string& name);

} // namespace tidepool
