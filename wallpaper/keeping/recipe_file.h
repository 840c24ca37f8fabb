#pragma once

#include "imagefile/write_result.h"
#include "wallpaper/core/environment.h"
#include "wallpaper/keeping/wallpaper_recipe.h"

#include <filesystem>
#include <string>

namespace tidepool {

// Where the recipe of the wallpaper last put on the desktop is kept:
// $XDG_CONFIG_HOME/tidepool/wallpaper.conf. Empty, with the reason, when no folder is given.
struct RecipeLocation {
    std::filesystem::path file;
    std::string error;
};
RecipeLocation RecipeFile(const Environment& environment);

// Writes the recipe into file, creating its folder; the file is replaced whole or not at all.
WriteResult SaveRecipe(const std::filesystem::path& file, const WallpaperRecipe& recipe);

// The recipe kept in file. Missing when no file is there; Damaged, with a one-line reason that
// names the file, when one is there and cannot be read as a recipe. Never changes the file.
struct LoadedRecipe {
    enum class State { Loaded, Missing, Damaged };
    State state = State::Missing;
    WallpaperRecipe recipe;
    std::string error;
};
LoadedRecipe LoadRecipe(const std::filesystem::path& file);

} // namespace tidepool
