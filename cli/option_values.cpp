#include "cli/option_values.h"

#include "cli/theme_names.h"

#include <charconv>
#include <cstdio>

namespace tidepool::cli {
namespace {

std::optional<unsigned> ParseWholeNumber(std::string_view text, int base) {
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

std::optional<int> EyeShapeBox(std::string_view name) {
    static constexpr std::array<Choice<int>, 5> kEyes{
        {{"circle", 0}, {"dash", 1}, {"cross", 2}, {"cap", 3}, {"cup", 4}}};
    return FindChoice(kEyes, name);
}

} // namespace

std::optional<Colour> ParseColour(std::string_view text) {
    if (text.starts_with('#'))
        text.remove_prefix(1);
    if (text.size() != 6)
        return std::nullopt;
    const std::optional<unsigned> rrggbb = ParseWholeNumber(text, 16);
    if (!rrggbb)
        return std::nullopt;
    return rgb(*rrggbb >> 16, *rrggbb >> 8, *rrggbb);
}

std::string FormatColour(Colour colour) {
    if (isSystemColour(colour))
        return "system " + std::to_string(colour & 0xFFu);
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", colour & 0xFFu, colour >> 8 & 0xFFu,
                  colour >> 16 & 0xFFu);
    return text;
}

std::optional<bool> ParseSwitch(std::string_view text) {
    static constexpr std::array<Choice<bool>, 2> kSwitch{{{"on", true}, {"off", false}}};
    return FindChoice(kSwitch, text);
}

std::optional<std::array<bool, 5>> ParseEyeShapes(std::string_view text) {
    std::array<bool, 5> boxes{};
    if (text == "none")
        return boxes;
    while (true) {
        const std::size_t comma = text.find(',');
        const std::optional<int> box = EyeShapeBox(text.substr(0, comma));
        if (!box)
            return std::nullopt;
        boxes[static_cast<std::size_t>(*box)] = true;
        if (comma == std::string_view::npos)
            return boxes;
        text.remove_prefix(comma + 1);
    }
}

std::optional<std::pair<std::string, std::string>> SplitPair(std::string_view text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos || text.find(',', comma + 1) != std::string_view::npos)
        return std::nullopt;
    return std::pair{std::string(text.substr(0, comma)), std::string(text.substr(comma + 1))};
}

std::optional<int> FindTheme(const ThemeTable& themes, std::string_view text) {
    const std::vector<std::string> names = themes.listNames();
    const int count = static_cast<int>(names.size());
    if (const std::optional<unsigned> number = ParseWholeNumber(text, 10))
        return *number >= 1 && *number <= static_cast<unsigned>(count)
                   ? std::optional<int>(static_cast<int>(*number))
                   : std::nullopt;
    for (int i = 0; i < count; ++i)
        if (names[static_cast<std::size_t>(i)] == text || IsEnglishThemeName(i + 1, text))
            return i + 1;
    return std::nullopt;
}

} // namespace tidepool::cli
