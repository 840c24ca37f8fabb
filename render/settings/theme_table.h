#pragma once

#include "render/settings/colour.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tidepool {

struct ColourTheme {
    std::string Name;
    std::int16_t Kind = 0; // 0 ordinary; 3 frame colour layer; 4 frame mask layer
    Colour Foreground = 0; // each goes to the main window's swatch of its name
    Colour Middle = 0;
    Colour Background = 0;
};

// The built-in themes, 1-based: entries 1 to ThemeCount - 2 are the ordinary themes shown in the
// theme list, ThemeCount - 1 is "フレーム" and ThemeCount is "反転フレーム".
struct ThemeTable {
    std::vector<ColourTheme> entries; // entries[0] is unused, so entries[i] is theme i
    std::int16_t ThemeCount = 0;

    ColourTheme& operator[](int i) { return entries.at(static_cast<std::size_t>(i)); }
    const ColourTheme& operator[](int i) const { return entries.at(static_cast<std::size_t>(i)); }
    int frameIndex() const { return ThemeCount - 1; }
    int invertedFrameIndex() const { return ThemeCount; }
    // Names of the ordinary themes in list order, as the theme list shows them.
    std::vector<std::string> listNames() const;
};

ThemeTable BuildThemeTable();

} // namespace tidepool
