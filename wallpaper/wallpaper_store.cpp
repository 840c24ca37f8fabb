#include "wallpaper/wallpaper_store.h"

#include "imagefile/codec_library.h"
#include "imagefile/save_image.h"

#include <ctime>
#include <regex>
#include <set>

namespace tidepool {

namespace {

namespace fs = std::filesystem;

// wallpaper-20261207-153000-042.png, or wallpaper-20261207-153000-042-screen2.png for one of
// several screens; the stamp sorts in time order.
const std::regex kStoredName(R"(wallpaper-(\d{8}-\d{6}-\d{3})(-screen\d+)?\.(png|bmp))");

std::string Stamp(std::chrono::system_clock::time_point now) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, "%s-%03d", text, static_cast<int>(milliseconds));
    return stamp;
}

// The stamps of the applications whose files are in the folder. Only files count: the folder
// holds nothing else of ours.
std::set<std::string> StoredStamps(const fs::path& folder) {
    std::set<std::string> stamps;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        std::smatch match;
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file(error) && std::regex_match(name, match, kStoredName))
            stamps.insert(match[1]);
    }
    return stamps;
}

fs::path FileName(const std::string& stamp, std::size_t screen, std::size_t screens,
                  const char* extension) {
    std::string name = "wallpaper-" + stamp;
    if (screens > 1)
        name += "-screen" + std::to_string(screen + 1);
    return name + extension;
}

void RemoveOlderApplications(const fs::path& folder) {
    const std::set<std::string> stamps = StoredStamps(folder);
    if (stamps.size() <= static_cast<std::size_t>(kApplicationsKept))
        return;
    const auto firstKept = std::prev(stamps.end(), kApplicationsKept);
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        std::smatch match;
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file(error) && std::regex_match(name, match, kStoredName) &&
            match[1] < *firstKept)
            fs::remove(entry.path(), error);
    }
}

} // namespace

FolderChoice WallpaperFolder(const Environment& environment) {
    const fs::path dataHome = Lookup(environment, "XDG_DATA_HOME");
    if (dataHome.is_absolute())
        return {dataHome / "tidepool", ""};
    const fs::path home = Lookup(environment, "HOME");
    if (home.is_absolute())
        return {home / ".local" / "share" / "tidepool", ""};
    return {{}, "neither XDG_DATA_HOME nor HOME names a folder to keep the wallpaper in"};
}

StoredPictures StorePictures(const fs::path& folder, const std::vector<DrawingSurface>& pictures,
                             CodecLibrary& codec, std::chrono::system_clock::time_point now) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
        return {{}, "cannot create the folder " + folder.string() + ": " + error.message()};

    const std::set<std::string> taken = StoredStamps(folder);
    std::string stamp = Stamp(now);
    while (taken.count(stamp) != 0) {
        now += std::chrono::milliseconds(1);
        stamp = Stamp(now);
    }

    const char* extension = codec.present() ? ".png" : ".bmp";
    StoredPictures stored;
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const fs::path file = folder / FileName(stamp, i, pictures.size(), extension);
        if (const WriteResult written = SaveImage(pictures[i], file, codec); !written.ok()) {
            for (const fs::path& done : stored.files)
                fs::remove(done, error);
            return {{}, written.error()};
        }
        stored.files.push_back(file);
    }
    RemoveOlderApplications(folder);
    return stored;
}

} // namespace tidepool
