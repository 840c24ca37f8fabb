#pragma once

#include "render/settings/colour.h"
#include "render/settings/theme_table.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tidepool::cli {

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

// "X,Y" into its two texts, each kept as typed.
std::optional<std::pair<std::string, std::string>> SplitPair(std::string_view text);

// The table index of an ordinary theme given by its number in the list (1 to 20), its own name or
// its English name (see IsEnglishThemeName).
std::optional<int> FindTheme(const ThemeTable& themes, std::string_view text);

// A word of an option's fixed set of values and what it stands for.
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

} // namespace tidepool::cli
