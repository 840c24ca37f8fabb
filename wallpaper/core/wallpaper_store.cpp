#include "wallpaper/core/wallpaper_store.h"

#include "imagefile/codec_library.h"
#include "imagefile/save_image.h"

#include <ctime>
#include <optional>
#include <regex>
#include <set>

namespace tidepool {

namespace {

namespace fs = std::filesystem;

// wallpaper-42-20261207T153000Z.png, or wallpaper-42-20261207T153000Z-screen2.png for one of
// several screens. The counter orders the applications, whatever the clock did between them; the
// time, in UTC, is only for people reading the folder.
const std::regex kStoredName(R"(wallpaper-(\d{1,18})-\d{8}T\d{6}Z(-screen\d+)?\.(png|bmp))");
// The names of earlier versions, in local time: older than any counted name.
const std::regex kLegacyName(R"(wallpaper-\d{8}-\d{6}-\d{3}(-screen\d+)?\.(png|bmp))");

std::string UtcStamp(std::chrono::system_clock::time_point now) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &utc);
    return text;
}

// The application a stored file belongs to: its counter, 0 for an earlier version's name; none
// for a file that is not ours.
std::optional<long long> ApplicationOf(const fs::directory_entry& entry) {
    std::error_code error;
    if (!entry.is_regular_file(error))
        return std::nullopt;
    const std::string name = entry.path().filename().string();
    std::smatch match;
    if (std::regex_match(name, match, kStoredName))
        return std::stoll(match[1]);
    if (std::regex_match(name, kLegacyName))
        return 0;
    return std::nullopt;
}

std::set<long long> StoredApplications(const fs::path& folder) {
    std::set<long long> applications;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error))
        if (const auto application = ApplicationOf(entry))
            applications.insert(*application);
    return applications;
}

fs::path FileName(long long counter, const std::string& stamp, std::size_t screen,
                  std::size_t screens, const char* extension) {
    std::string name = "wallpaper-" + std::to_string(counter) + "-" + stamp;
    if (screens > 1)
        name += "-screen" + std::to_string(screen + 1);
    return name + extension;
}

// Keeps the newest kApplicationsKept applications by counter, the one just written among them
// whatever the others are called.
void RemoveOlderApplications(const fs::path& folder, long long justWritten) {
    const std::set<long long> applications = StoredApplications(folder);
    if (applications.size() <= static_cast<std::size_t>(kApplicationsKept))
        return;
    const long long firstKept = *std::prev(applications.end(), kApplicationsKept);
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        const auto application = ApplicationOf(entry);
        if (application && *application < firstKept && *application != justWritten)
            fs::remove(entry.path(), error);
    }
}

} // namespace

FolderChoice WallpaperFolder(const Environment& environment) {
    FolderChoice data = DataFolder(environment);
    if (data.error.empty())
        data.folder /= "tidepool";
    else
        data.error += " to keep the wallpaper in";
    return data;
}

StoredPictures StorePictures(const fs::path& folder, const std::vector<DrawingSurface>& pictures,
                             CodecLibrary& codec, std::chrono::system_clock::time_point now) {
    return StorePictures(
        folder, pictures.size(), [&pictures](std::size_t i) { return pictures[i]; }, codec, now);
}

StoredPictures StorePictures(const fs::path& folder, std::size_t count,
                             const std::function<DrawingSurface(std::size_t)>& picture,
                             CodecLibrary& codec, std::chrono::system_clock::time_point now) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
        return {{}, "cannot create the folder " + folder.string() + ": " + error.message()};

    const std::set<long long> taken = StoredApplications(folder);
    const long long counter = taken.empty() ? 1 : *taken.rbegin() + 1;
    const std::string stamp = UtcStamp(now);

    const char* extension = codec.present() ? ".png" : ".bmp";
    StoredPictures stored;
    for (std::size_t i = 0; i < count; ++i) {
        const fs::path file = folder / FileName(counter, stamp, i, count, extension);
        if (const WriteResult written = SaveImage(picture(i), file, codec); !written.ok()) {
            for (const fs::path& done : stored.files)
                fs::remove(done, error);
            return {{}, written.error()};
        }
        stored.files.push_back(file);
    }
    RemoveOlderApplications(folder, counter);
    return stored;
}

} // namespace tidepool
