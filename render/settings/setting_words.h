#pragma once

#include "render/settings/colour.h"
#include "render/settings/main_settings.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tidepool {

// The words settings are written in outside the window: on the command line and in the saved
// wallpaper. Each reader takes exactly what the matching writer writes.

// A word of a setting's fixed set of values and what it stands for.
template <typename T> struct Choice {
    std::string_view word;
    T value;
};

template <typename T, std::size_t N>
std::optional<T> FindChoice(const std::array<Choice<T>, N>& choices, std::string_view word) {
    for (const Choice<T>& choice : choices)
        if (choice.word == word)
            return choice.value;
    return std::nullopt;
}

// The word of a value; empty for a value the set does not hold.
template <typename T, std::size_t N>
std::string_view WordOf(const std::array<Choice<T>, N>& choices, T value) {
    for (const Choice<T>& choice : choices)
        if (choice.value == value)
            return choice.word;
    return {};
}

inline constexpr std::array<Choice<int>, 5> kPresetWords{
    {{"qvga", 0}, {"vga", 1}, {"xga", 2}, {"wxga", 3}, {"uxga", 4}}};
inline constexpr std::array<Choice<Layout>, 2> kLayoutWords{
    {{"standard", Layout::Standard}, {"slide", Layout::Slide}}};
inline constexpr std::array<Choice<DrawMode>, 2> kModeWords{
    {{"normal", DrawMode::Normal}, {"frame", DrawMode::Frame}}};
inline constexpr std::array<Choice<ColourRole>, 3> kRoleWords{
    {{"foreground", ColourRole::Foreground},
     {"middle", ColourRole::Middle},
     {"background", ColourRole::Background}}};
inline constexpr std::array<Choice<bool>, 2> kSwitchWords{{{"on", true}, {"off", false}}};

// A whole decimal number, digits only.
std::optional<unsigned> ParseWholeNumber(std::string_view text);

// "#RRGGBB" or "RRGGBB" in either letter case; the '#' may be left out because an unquoted '#'
// starts a comment in the shell.
std::optional<Colour> ParseColour(std::string_view text);

// "#RRGGBB" for a plain colour, "system N" for a system colour.
std::string FormatColour(Colour colour);

// "on" or "off".
std::optional<bool> ParseSwitch(std::string_view text);

// Eye-shape boxes from a comma-separated list of circle, dash, cross, cap and cup, in any order,
// or "none" for no box ticked.
std::optional<std::array<bool, 5>> ParseEyeShapes(std::string_view text);

// The ticked boxes as ParseEyeShapes reads them, in the boxes' order.
std::string FormatEyeShapes(const std::array<bool, 5>& boxes);

} // namespace tidepool
