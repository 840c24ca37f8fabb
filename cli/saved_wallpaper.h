#pragma once

#include "cli/render_request.h"
#include "wallpaper/core/environment.h"
#include "wallpaper/keeping/wallpaper_recipe.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

namespace tidepool::cli {

// The request that draws a saved wallpaper again and puts it on the desktop.
RenderRequest RequestFromRecipe(const WallpaperRecipe& recipe);

// The saved wallpaper as such a request, or the one line to say when none is saved or the saved
// one cannot be read (which is then left as it is).
struct SavedRequest {
    std::optional<RenderRequest> request;
    std::string error;
};
SavedRequest LoadSavedRequest(const Environment& environment);

// After the wallpaper recipe describes was put on the desktop: saves the recipe when save is
// set, and keeps the wallpaper when keep is set, with renderer as the follower, telling on out
// what was checked. A recipe that cannot be saved is said on err; keeping that fails too is said
// on err and makes the status kExitNotKept. Returns the status to exit with.
int RememberWallpaper(const WallpaperRecipe& recipe, bool save, bool keep, int status,
                      const Environment& environment, const std::filesystem::path& renderer,
                      std::ostream& out, std::ostream& err);

// --forget-wallpaper: removes the autostart entry and ends the followers, telling on out what
// it checked; 0, also when there was nothing to forget, or 1 with the reason on err.
int ForgetCommand(const Environment& environment, std::ostream& out, std::ostream& err);

} // namespace tidepool::cli
