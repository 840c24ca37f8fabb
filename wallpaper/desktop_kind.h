#pragma once

#include <string_view>

namespace tidepool {

// The desktops whose own tools can be told to show a wallpaper.
enum class Desktop { None, Unknown, Gnome, Cinnamon, Mate, Xfce, Kde, Lxqt, Sway };

// The desktop XDG_CURRENT_DESKTOP names. It is a colon-separated list ("ubuntu:GNOME"); the first
// name known here decides. Unknown for names none of which is known, None for an empty value: a
// plain X11 session with no desktop above it.
Desktop DesktopOf(std::string_view currentDesktop);

// The desktop's name as users know it ("GNOME", "KDE Plasma").
std::string_view DesktopName(Desktop desktop);

} // namespace tidepool
