#include "cli/option_values.h"

#include "cli/theme_names.h"

namespace tidepool::cli {

std::optional<std::pair<std::string, std::string>> SplitPair(std::string_view text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos || text.find(',', comma + 1) != std::string_view::npos)
        return std::nullopt;
    return std::pair{std::string(text.substr(0, comma)), std::string(text.substr(comma + 1))};
}

std::optional<int> FindTheme(const ThemeTable& themes, std::string_view text) {
    const std::vector<std::string> names = themes.listNames();
    const int count = static_cast<int>(names.size());
    if (const std::optional<unsigned> number = ParseWholeNumber(text))
        return *number >= 1 && *number <= static_cast<unsigned>(count)
                   ? std::optional<int>(static_cast<int>(*number))
                   : std::nullopt;
    for (int i = 0; i < count; ++i)
        if (names[static_cast<std::size_t>(i)] == text || IsEnglishThemeName(i + 1, text))
            return i + 1;
    return std::nullopt;
}

} // namespace tidepool::cli
