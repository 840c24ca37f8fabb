#include "cli/saved_wallpaper.h"

#include "cli/exit_status.h"
#include "wallpaper/keeping/keep_wallpaper.h"
#include "wallpaper/keeping/recipe_file.h"

namespace tidepool::cli {

namespace {

constexpr std::string_view kPrefix = "tidepool-render: ";

void SayReport(const KeepReport& report, std::string_view what, std::ostream& out,
               std::ostream& err) {
    for (const std::string& line : report.lines)
        out << kPrefix << what << line << '\n';
    if (!report.ok())
        err << kPrefix << report.error << '\n';
}

} // namespace

RenderRequest RequestFromRecipe(const WallpaperRecipe& recipe) {
    RenderRequest request;
    request.settings = recipe.settings;
    request.render.FixedColours = recipe.fixedColours;
    request.render.palette = recipe.palette;
    request.drawn = recipe.drawn;
    request.setWallpaper = true;
    return request;
}

SavedRequest LoadSavedRequest(const Environment& environment) {
    const RecipeLocation location = RecipeFile(environment);
    if (!location.error.empty())
        return {std::nullopt, "no saved wallpaper: " + location.error};
    const LoadedRecipe loaded = LoadRecipe(location.file);
    switch (loaded.state) {
    case LoadedRecipe::State::Loaded:
        return {RequestFromRecipe(loaded.recipe), ""};
    case LoadedRecipe::State::Missing:
        return {std::nullopt, "no wallpaper has been saved in " + location.file.string() +
                                  " yet; put one on the desktop with --set-wallpaper first"};
    case LoadedRecipe::State::Damaged:
        return {std::nullopt,
                "the saved wallpaper cannot be read, and is left as it is: " + loaded.error};
    }
    return {std::nullopt, "the saved wallpaper cannot be read"};
}

int RememberWallpaper(const WallpaperRecipe& recipe, bool save, bool keep, int status,
                      const Environment& environment, const std::filesystem::path& renderer,
                      std::ostream& out, std::ostream& err) {
    if (save) {
        const RecipeLocation location = RecipeFile(environment);
        const WriteResult saved = location.error.empty() ? SaveRecipe(location.file, recipe)
                                                         : WriteResult::Failure(location.error);
        if (!saved.ok()) {
            err << kPrefix << "the wallpaper is on the desktop, but what it is could not be saved: "
                << saved.error() << '\n';
            if (keep) {
                err << kPrefix << "so it cannot be kept\n";
                return kExitNotKept;
            }
        }
    }
    if (!keep)
        return status;
    const KeepReport report = KeepWallpaper(environment, renderer);
    SayReport(report, "kept: ", out, err);
    return report.ok() ? status : kExitNotKept;
}

int ForgetCommand(const Environment& environment, std::ostream& out, std::ostream& err) {
    const KeepReport report = ForgetWallpaper(environment);
    SayReport(report, "forgot: ", out, err);
    return report.ok() ? kExitSuccess : kExitWriteFailed;
}

} // namespace tidepool::cli
