#include "cli/theme_listing.h"

#include "cli/option_values.h"

#include <algorithm>

namespace tidepool::cli {
namespace {

// Wide enough for "system 20", so plain and system colours line up.
std::string ColourColumn(Colour colour) {
    std::string text = FormatColour(colour);
    text.resize(std::max<std::size_t>(text.size(), 9), ' ');
    return text;
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
                ColourColumn(theme.Background) + "  " + names[i] + "\n";
    }
    return list;
}

} // namespace tidepool::cli
