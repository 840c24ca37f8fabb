#include "imagefile/load_picture.h"

#include "imagefile/codec_surface.h"
#include "imagefile/current_folder.h"
#include "imagefile/ordinary_file.h"
#include "imagefile/picture_limits.h"
#include "imagefile/platform_picture_reader.h"

#include <array>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace tidepool {
namespace {

// Decided by the name's last four characters, whatever the file holds.
bool NamesPngFile(const std::string& path) {
    if (path.size() < 4)
        return false;
    const std::string_view ending = std::string_view(path).substr(path.size() - 4);
    constexpr std::string_view kPng = ".PNG";
    for (std::size_t i = 0; i < kPng.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(ending[i])) != kPng[i])
            return false;
    }
    return true;
}

std::int32_t ReadInt32(const std::array<unsigned char, IMGCTL_HEADER_SIZE>& header,
                       std::size_t at) {
    const std::uint32_t bits = header[at] | header[at + 1] << 8 | header[at + 2] << 16 |
                               static_cast<std::uint32_t>(header[at + 3]) << 24;
    return static_cast<std::int32_t>(bits);
}

std::int16_t LoadWithCodec(DrawingSurface& target, const std::string& path, CodecLibrary& codec) {
    if (!codec.present())
        return kPictureLoadFailed;
    const CodecFunctions* f = codec.functions();
    if (f == nullptr)
        return kPictureLoadFailed;

    // Made absolute before the folder changes, so a relative path still names the file the
    // existence test found.
    std::error_code error;
    const std::filesystem::path file = std::filesystem::absolute(path, error);
    if (error)
        return kPictureLoadFailed;
    ScopedCurrentFolder inProgramFolder(codec.callFolder());

    target.clear();
    const DibHandle dib(*f, f->PNGtoDIB(file.string().c_str()));
    std::array<unsigned char, IMGCTL_HEADER_SIZE> header{};
    if (f->HeadDIB(dib.get(), header.data()) == 0)
        return kPictureLoadFailed;
    // Checked here as well as in the plug-in: another build of it must not make us allocate
    // gigabytes either.
    const std::int32_t width = ReadInt32(header, 4);
    const std::int32_t height = ReadInt32(header, 8);
    if (!WithinPictureLimits(width, height))
        return kPictureLoadFailed;
    target.resize(width, height);
    const ImgctlSurface dc = AsCodecSurface(target);
    if (f->DIBtoDC(&dc, 0, 0, 0, 0, dib.get(), 0, 0, IMGCTL_SRCCOPY) == 0) {
        // The plug-in decodes into the target as it copies, so damaged image data can leave part
        // of a picture there; a failed load leaves none.
        target.clear();
        return kPictureLoadFailed;
    }
    return kPictureLoaded;
}

std::int16_t LoadWithPlatformReader(DrawingSurface& target, const std::string& path) {
    std::optional<DrawingSurface> picture = ReadPlatformPicture(path);
    if (!picture)
        return kPictureLoadFailed;
    picture->setPalette(target.palette());
    target = std::move(*picture);
    return kPictureLoaded;
}

} // namespace

std::int16_t LoadPictureFile(DrawingSurface& target, const std::string& path, CodecLibrary& codec) {
    try {
        if (!IsOrdinaryFile(path))
            return kPictureLoadFailed;
        if (NamesPngFile(path))
            return LoadWithCodec(target, path, codec);
        return LoadWithPlatformReader(target, path);
    } catch (const std::exception&) {
        // Out of memory or a path the platform cannot convert: a failed load like any other.
        return kPictureLoadFailed;
    }
}

} // namespace tidepool
