#include "cli/theme_names.h"

#include <algorithm>
#include <array>

namespace tidepool::cli {

namespace {

constexpr std::array<std::string_view, 20> kEnglishNames{
    "normal",        "water",   "light-green", "blue-a", "blue-b",   "wine",      "earth-colour",
    "ice-green",     "holiday", "pumpkin",     "picnic", "plum",     "blue-grey", "maple",
    "modern-purple", "lilac",   "rainy-blue",  "rose",   "wine-red", "system",
};

// The character as a name has it: lower case, and a hyphen for a blank or an underscore.
char Folded(char c) {
    if (c == ' ' || c == '_')
        return '-';
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::string_view EnglishThemeName(int index) {
    if (index < 1 || index > static_cast<int>(kEnglishNames.size()))
        return {};
    return kEnglishNames[static_cast<std::size_t>(index - 1)];
}

bool IsEnglishThemeName(int index, std::string_view typed) {
    const std::string_view name = EnglishThemeName(index);
    return !name.empty() && typed.size() == name.size() &&
           std::equal(typed.begin(), typed.end(), name.begin(),
                      [](char t, char n) { return Folded(t) == n; });
}

} // namespace tidepool::cli
