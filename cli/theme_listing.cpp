#include "cli/theme_listing.h"

#include "cli/option_values.h"
#include "cli/theme_names.h"

#include <algorithm>

namespace tidepool::cli {
namespace {

// Left-aligned in a column of width characters.
std::string Padded(std::string text, std::size_t width) {
    text.resize(std::max(text.size(), width), ' ');
    return text;
}

// Wide enough for "system 20", so plain and system colours line up.
std::string ColourColumn(Colour colour) {
    return Padded(FormatColour(colour), 9);
}

// Wide enough for the longest English name, "modern-purple".
std::string EnglishColumn(int index) {
    return Padded(std::string(EnglishThemeName(index)), 13);
}

} // namespace

std::string FormatThemeList(const ThemeTable& themes) {
    std::string list;
    const std::vector<std::string> names = themes.listNames();
    for (std::size_t i = 0; i < names.size(); ++i) {
        const ColourTheme& theme = themes[static_cast<int>(i) + 1];
        const std::string number = std::to_string(i + 1);
        list += std::string(2 - std::min<std::size_t>(number.size(), 2), ' ') + number + "  " +
                ColourColumn(theme.Foreground) + "  " + ColourColumn(theme.Middle) + "  " +
                ColourColumn(theme.Background) + "  " + EnglishColumn(static_cast<int>(i) + 1) +
                "  " + names[i] + "\n";
    }
    return list;
}

} // namespace tidepool::cli
