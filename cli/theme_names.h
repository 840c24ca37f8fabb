#pragma once

#include <string_view>

namespace tidepool::cli {

// The English name of an ordinary theme (1 to 20), one lower-case word or words joined by
// hyphens ("light-green"), which an English keyboard types; the window's English list shows the
// same words ("Light green"). Empty for any other index.
std::string_view EnglishThemeName(int index);

// Whether typed is the theme's English name, in any letter case, with blanks or underscores for
// its hyphens.
bool IsEnglishThemeName(int index, std::string_view typed);

} // namespace tidepool::cli
