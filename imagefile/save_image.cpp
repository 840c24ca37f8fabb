#include "imagefile/save_image.h"

#include "imagefile/atomic_write.h"
#include "imagefile/bmp_writer.h"
#include "imagefile/codec_writer.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <string_view>
#include <utility>

namespace tidepool {
namespace {

std::string LowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::optional<CodecFormat> CodecFormatFor(std::string_view extension) {
    static constexpr std::array<std::pair<std::string_view, CodecFormat>, 4> kFormats{{
        {".jpg", CodecFormat::Jpeg},
        {".jpeg", CodecFormat::Jpeg},
        {".gif", CodecFormat::Gif},
        {".png", CodecFormat::Png},
    }};
    for (const auto& [name, format] : kFormats) {
        if (name == extension)
            return format;
    }
    return std::nullopt;
}

// "A nor B", naming every folder the plug-in was looked for in.
std::string SearchedFolders(const CodecLibrary& codec) {
    std::string named;
    for (const std::filesystem::path& folder : codec.searchFolders())
        named += (named.empty() ? "" : " nor ") + folder.string();
    return named.empty() ? codec.programFolder().string() : named;
}

WriteResult WriteBmpFile(const DrawingSurface& surface, const std::filesystem::path& path) {
    return WriteBmp(surface, path);
}

} // namespace

WriterChoice ChooseImageWriter(const std::filesystem::path& target, CodecLibrary& codec) {
    const std::string extension = LowerCase(target.extension().string());
    if (extension == ".bmp")
        return {WriteBmpFile, {}};
    if (const std::optional<CodecFormat> format = CodecFormatFor(extension)) {
        if (!codec.present())
            return {{},
                    "writing " + extension + " files needs the codec plug-in " +
                        std::string(kCodecLibraryFileName) + ", which is not in " +
                        SearchedFolders(codec)};
        return {[&codec, format = *format](const DrawingSurface& surface,
                                           const std::filesystem::path& path) {
                    return WriteWithCodec(codec, format, surface, path);
                },
                {}};
    }
    if (extension.empty())
        return {
            {}, target.string() + " has no file extension; use .bmp, .png, .jpg or .gif", false};
    return {
        {}, "unsupported file extension " + extension + "; use .bmp, .png, .jpg or .gif", false};
}

WriteResult SaveImage(const DrawingSurface& surface, const std::filesystem::path& target,
                      CodecLibrary& codec) {
    const WriterChoice choice = ChooseImageWriter(target, codec);
    if (!choice.write)
        return WriteResult::Failure(choice.error);
    return AtomicWrite(target, [&](const std::filesystem::path& temporary) {
        return choice.write(surface, temporary);
    });
}

} // namespace tidepool
