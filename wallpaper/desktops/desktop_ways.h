#pragma once

#include "wallpaper/desktops/desktop_record.h"

#include <string_view>

namespace tidepool {

// Each desktop's own way of showing the pictures, unscaled, and of checking that it took: the
// program that draws the background found running (before anything is changed, where it must be
// there already), and the settings read back.

// GNOME, Cinnamon and MATE, through gsettings: one picture, spanned over several screens.
WayResult ApplyOnGnome(const DesktopContext& context);
WayResult ApplyOnCinnamon(const DesktopContext& context);
WayResult ApplyOnMate(const DesktopContext& context);

// Xfce, through xfconf-query: a picture per monitor where xfdesktop knows the screens by the names
// the toolkit gives them, else the whole desktop's picture tiled, and the root window beside it.
WayResult ApplyOnXfce(const DesktopContext& context);

// LXQt, through pcmanfm-qt: one picture of the whole desktop, as its one desktop window covers it.
WayResult ApplyOnLxqt(const DesktopContext& context);

// KDE Plasma, through its shell's script on the session bus: a picture per screen, read back.
WayResult ApplyOnPlasma(const DesktopContext& context);

// sway, through swaymsg: a picture per output.
WayResult ApplyOnSway(const DesktopContext& context);
// sway's active outputs as screens, as swaymsg reports them; empty, with the reason, when it cannot
// say.
std::vector<Screen> SwayScreens(const ToolRunner& runner, std::string& error);
// Whether sway's command parser and its word expansion take the text as it stands: letters,
// digits and "/._-+" only.
bool SafeForSway(std::string_view text);

} // namespace tidepool
