#pragma once

#include "render/settings/setting_words.h"
#include "render/settings/theme_table.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tidepool::cli {

// "X,Y" into its two texts, each kept as typed.
std::optional<std::pair<std::string, std::string>> SplitPair(std::string_view text);

// The table index of an ordinary theme given by its number in the list (1 to 20), its own name or
// its English name (see IsEnglishThemeName).
std::optional<int> FindTheme(const ThemeTable& themes, std::string_view text);

} // namespace tidepool::cli
