// Feeds arbitrary bytes to LoadPictureFile as a file of each picture type it takes. The first
// byte chooses the file name's extension, and with it the decoder: the codec plug-in for .png,
// the platform's loader for the rest.
#include "imagefile/load_picture.h"
#include "imagefile/program_folder.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

constexpr std::array<const char*, 5> kExtensions{".png", ".bmp", ".jpg", ".gif", ".ico"};

std::filesystem::path InputPath(const char* extension) {
    return std::filesystem::temp_directory_path() /
           ("tidepool-load-fuzz-" + std::to_string(::getpid()) + extension);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    // The plug-in is found beside this executable, as the program finds it.
    static tidepool::CodecLibrary codec(tidepool::ProgramFolder());
    const std::filesystem::path path = InputPath(kExtensions[data[0] % kExtensions.size()]);
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
    }
    tidepool::DrawingSurface target(3, 2);
    const std::int16_t result = tidepool::LoadPictureFile(target, path.string(), codec);
    if (result == tidepool::kPictureLoaded && (target.width() <= 0 || target.height() <= 0))
        __builtin_trap(); // a loaded picture always has pixels
    std::filesystem::remove(path);
    return 0;
}
