#include "imagefile/save_image.h"

#include "imagefile/atomic_write.h"
#include "imagefile/bmp_writer.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace tidepool {
namespace {

std::string LowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool NeedsCodecPlugin(std::string_view extension) {
    static constexpr std::array<std::string_view, 4> kCodecExtensions{".png", ".jpg", ".jpeg",
                                                                      ".gif"};
    return std::find(kCodecExtensions.begin(), kCodecExtensions.end(), extension) !=
           kCodecExtensions.end();
}

WriteResult WriteBmpFile(const DrawingSurface& surface, const std::filesystem::path& path) {
    return WriteBmp(surface, path);
}

} // namespace

WriterChoice ChooseImageWriter(const std::filesystem::path& target) {
    const std::string extension = LowerCase(target.extension().string());
    if (extension == ".bmp")
        return {WriteBmpFile, {}};
    if (NeedsCodecPlugin(extension))
        return {{}, "writing " + extension + " files needs the codec plug-in, not yet available"};
    if (extension.empty())
        return {{}, target.string() + " has no file extension; use .bmp"};
    return {{}, "unsupported file extension " + extension + "; use .bmp"};
}

WriteResult SaveImage(const DrawingSurface& surface, const std::filesystem::path& target) {
    const WriterChoice choice = ChooseImageWriter(target);
    if (!choice.write)
        return WriteResult::Failure(choice.error);
    return AtomicWrite(target, [&](const std::filesystem::path& temporary) {
        return choice.write(surface, temporary);
    });
}

} // namespace tidepool
