#include "ui/files/file_type_list.h"

namespace tidepool {
namespace {

using namespace std::string_view_literals;

// The sv literals keep the embedded NULs that a plain literal's length would stop at.
constexpr std::string_view kSaveBmpTypes = "ビットマップファイル (*.bmp)\0*.bmp"sv;
constexpr std::string_view kSaveCodecTypes =
    "\0JPEG (*.JPG)\0*.jpg\0GIF (*.GIF)\0*.gif\0PNG (*.PNG)\0*.png"sv;

constexpr std::string_view kOpenAllPictures = "すべてのピクチャファイル\0"sv;
constexpr std::string_view kOpenAllPicturePatterns = "*.bmp;*.JPG;*.JPEG;*.JPE;*.JFIF;*.GIF;"sv;
constexpr std::string_view kOpenPlainTypes =
    "\0ビットマップファイル (*.bmp)\0*.bmp"
    "\0JPEG (*.JPG;*.JPEG;*.JPE;*.JFIF)\0*.JPG;*.JPEG;*.JPE;*.JFIF"
    "\0GIF (*.GIF)\0*.GIF"sv;
constexpr std::string_view kOpenPngType = "\0PNG (*.PNG)\0*.PNG"sv;
constexpr std::string_view kOpenLastTypes = "\0ICO (*.ICO)\0*.ICO\0すべてのファイル (*.*)\0*.*"sv;

} // namespace

std::string SaveFileTypeList(bool codecPresent) {
    std::string list(kSaveBmpTypes);
    if (codecPresent)
        list += kSaveCodecTypes;
    return list;
}

std::string OpenFileTypeList(bool codecPresent) {
    std::string list(kOpenAllPictures);
    list += kOpenAllPicturePatterns;
    list += codecPresent ? "*.PNG;*.ICO" : "*.ICO";
    list += kOpenPlainTypes;
    if (codecPresent)
        list += kOpenPngType;
    list += kOpenLastTypes;
    return list;
}

std::vector<std::string_view> FileTypeListItems(std::string_view list) {
    std::vector<std::string_view> items;
    for (;;) {
        const std::size_t end = list.find('\0');
        items.push_back(list.substr(0, end));
        if (end == std::string_view::npos)
            return items;
        list.remove_prefix(end + 1);
    }
}

std::string_view TrimAtNull(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

} // namespace tidepool
