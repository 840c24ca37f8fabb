#pragma once

#include "wallpaper/desktops/desktop_record.h"

#include <string_view>
#include <vector>

namespace tidepool {

// The desktops whose own tools can be told to show a wallpaper.
const std::vector<DesktopRecord>& KnownDesktops();

// The desktop XDG_CURRENT_DESKTOP names: a colon-separated list ("ubuntu:GNOME") whose first name
// known here decides. Null for an empty value or names none of which is known.
const DesktopRecord* DesktopNamed(std::string_view currentDesktop);

} // namespace tidepool
