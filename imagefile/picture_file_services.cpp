#include "imagefile/picture_file_services.h"

#include "imagefile/load_picture.h"
#include "imagefile/ordinary_file.h"

#include <string>
#include <utility>

namespace tidepool {

DrawJobServices PictureFileServices(CodecLibrary& codec, std::filesystem::path folder,
                                    std::function<void(std::string_view)> showMessage) {
    // An absolute path stays as it is; an empty one names the folder, which is no file.
    const auto inFolder = [folder = std::move(folder)](const std::string& path) {
        return (folder / path).string();
    };
    DrawJobServices services;
    services.fileExists = [inFolder](const std::string& path) {
        return IsOrdinaryFile(inFolder(path));
    };
    services.loadPicture = [inFolder, &codec](DrawingSurface& target, const std::string& path) {
        return static_cast<int>(LoadPictureFile(target, inFolder(path), codec));
    };
    services.showMessage = std::move(showMessage);
    return services;
}

} // namespace tidepool
