#pragma once

#include "wallpaper/core/environment.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tidepool {

// The file name of the entry that starts the wallpaper follower at login.
inline constexpr std::string_view kFollowerEntryName = "org.example.Tidepool.Follow.desktop";

// $XDG_CONFIG_HOME/autostart/org.example.Tidepool.Follow.desktop, where desktops that follow the
// XDG autostart rules look; empty, with the reason, when no config folder is given.
struct EntryLocation {
    std::filesystem::path file;
    std::string error;
};
EntryLocation FollowerEntryFile(const Environment& environment);

// One argument of an Exec line as a desktop entry holds it: in double quotes, with '"', '`', '$'
// and '\' escaped by a backslash, and then every backslash doubled again, since the whole line
// is a string value whose own escapes are read first. None for an argument no entry can carry
// to every desktop: one holding a control character (a line break would end the line), a '%'
// (which GLib mistakes) or bytes that are not UTF-8.
std::optional<std::string> ExecArgument(std::string_view argument);

// The autostart entry that runs `renderer --follow-screens` at login, hidden from menus; none
// when the renderer's absolute path cannot be written in an Exec line.
std::optional<std::string> FollowerEntry(const std::filesystem::path& renderer);

} // namespace tidepool
