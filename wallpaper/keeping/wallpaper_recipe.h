#pragma once

#include "render/settings/colour.h"
#include "render/settings/main_settings.h"
#include "render/settings/render_settings.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tidepool {

// Everything that decides the picture last put on the desktop, so that it can be drawn again
// pixel for pixel: every setting as typed, the fixed colours, and what the three system colours
// stood for when it was drawn. A recipe that is not drawn stands for the blank canvas the window
// shows before its first drawing.
struct WallpaperRecipe {
    MainSettings settings;
    std::array<Colour, 5> fixedColours = RenderSettings{}.FixedColours;
    SystemPalette palette = SystemPalette::defaults();
    bool drawn = true;

    bool operator==(const WallpaperRecipe&) const = default;
};

// The recipe of a drawing of typed with render's fixed colours and palette. A relative picture
// path is made absolute against the current folder, where the drawing looked for it, so that the
// recipe draws the same picture from any folder.
WallpaperRecipe RecipeOf(const MainSettings& typed, const RenderSettings& render, bool drawn);

// The version FormatRecipe writes and ParseRecipe reads.
inline constexpr int kRecipeVersion = 1;

// The recipe as text: comment lines, then "version=1", then one "key=value" line a setting in a
// fixed order. Keys are tidepool-render's option names where it has one. A value is everything
// after the first '=', byte for byte, with a backslash, a line break, a tab or another control
// character written as \\, \n, \r, \t or \xHH.
std::string FormatRecipe(const WallpaperRecipe& recipe);

// The recipe a text holds, or why it holds none, in one line naming the line of the text.
// Comments (a line whose first character is '#') and blank lines are passed over. The first
// setting must be the version; a key missing after it keeps the window's start value; an unknown
// or repeated key, a bad value or a bad escape makes the whole text unreadable.
struct ParsedRecipe {
    std::optional<WallpaperRecipe> recipe;
    std::string error;
};
ParsedRecipe ParseRecipe(std::string_view text);

} // namespace tidepool
