#include "wallpaper/keeping/recipe_file.h"

#include "imagefile/atomic_write.h"
#include "wallpaper/core/user_folders.h"

#include <fstream>
#include <iterator>

namespace tidepool {

namespace {

namespace fs = std::filesystem;

// Far more than any recipe written by Tidepool; a larger file is not one.
constexpr std::uintmax_t kLargestRecipe = 64 * 1024;

LoadedRecipe Damaged(const fs::path& file, const std::string& why) {
    return {LoadedRecipe::State::Damaged, {}, file.string() + ": " + why};
}

} // namespace

RecipeLocation RecipeFile(const Environment& environment) {
    const FolderChoice config = ConfigFolder(environment);
    if (!config.error.empty())
        return {{}, config.error + " to keep the wallpaper's settings in"};
    return {config.folder / "tidepool" / "wallpaper.conf", ""};
}

WriteResult SaveRecipe(const fs::path& file, const WallpaperRecipe& recipe) {
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    if (error)
        return WriteResult::Failure("cannot create the folder " + file.parent_path().string() +
                                    ": " + error.message());
    return AtomicWriteText(file, FormatRecipe(recipe));
}

LoadedRecipe LoadRecipe(const fs::path& file) {
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (status.type() == fs::file_type::not_found)
        return {LoadedRecipe::State::Missing, {}, ""};
    if (error)
        return Damaged(file, error.message());
    if (status.type() != fs::file_type::regular)
        return Damaged(file, "not an ordinary file");
    if (fs::file_size(file, error) > kLargestRecipe || error)
        return Damaged(file, "larger than a saved wallpaper can be");
    std::ifstream in(file, std::ios::binary);
    if (!in.is_open())
        return Damaged(file, "cannot be opened");
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ParsedRecipe parsed = ParseRecipe(text);
    if (!parsed.recipe)
        return Damaged(file, parsed.error);
    return {LoadedRecipe::State::Loaded, std::move(*parsed.recipe), ""};
}

} // namespace tidepool
