#pragma once

#include "render/settings/theme_table.h"

#include <string>

namespace tidepool::cli {

// One line per theme of the list: its number, its foreground, middle and background colours, its
// English name, then its own name, which comes last because Japanese names have no fixed width.
std::string FormatThemeList(const ThemeTable& themes);

} // namespace tidepool::cli
