#include "render/settings/setting_words.h"

#include <charconv>
#include <cstdio>

namespace tidepool {
namespace {

constexpr std::array<std::string_view, 5> kEyeWords{"circle", "dash", "cross", "cap", "cup"};

std::optional<int> EyeShapeBox(std::string_view name) {
    for (std::size_t i = 0; i < kEyeWords.size(); ++i)
        if (kEyeWords[i] == name)
            return static_cast<int>(i);
    return std::nullopt;
}

std::optional<unsigned> ParseNumber(std::string_view text, int base) {
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<unsigned> ParseWholeNumber(std::string_view text) {
    return ParseNumber(text, 10);
}

std::optional<Colour> ParseColour(std::string_view text) {
    if (text.starts_with('#'))
        text.remove_prefix(1);
    if (text.size() != 6)
        return std::nullopt;
    const std::optional<unsigned> rrggbb = ParseNumber(text, 16);
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
    return FindChoice(kSwitchWords, text);
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

std::string FormatEyeShapes(const std::array<bool, 5>& boxes) {
    std::string list;
    for (std::size_t i = 0; i < boxes.size(); ++i)
        if (boxes[i])
            list += (list.empty() ? "" : ",") + std::string(kEyeWords[i]);
    return list.empty() ? "none" : list;
}

} // namespace tidepool
