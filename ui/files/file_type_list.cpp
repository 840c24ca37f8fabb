#include "ui/files/file_type_list.h"

#include <QCoreApplication>

namespace tidepool {
namespace {

using namespace std::string_view_literals;

// The descriptions in words, which the dialogs show in the application's language.
constexpr std::string_view kBitmapFiles =
    QT_TRANSLATE_NOOP("tidepool::FileTypes", "ビットマップファイル (*.bmp)");
constexpr std::string_view kAllPictureFiles =
    QT_TRANSLATE_NOOP("tidepool::FileTypes", "すべてのピクチャファイル");
constexpr std::string_view kAllFiles =
    QT_TRANSLATE_NOOP("tidepool::FileTypes", "すべてのファイル (*.*)");

// The sv literals keep the embedded NULs that a plain literal's length would stop at.
constexpr std::string_view kBmpPattern = "\0*.bmp"sv;
constexpr std::string_view kSaveCodecTypes =
    "\0JPEG (*.JPG)\0*.jpg\0GIF (*.GIF)\0*.gif\0PNG (*.PNG)\0*.png"sv;

constexpr std::string_view kOpenAllPicturePatterns = "\0*.bmp;*.JPG;*.JPEG;*.JPE;*.JFIF;*.GIF;"sv;
constexpr std::string_view kOpenPlainTypes =
    "\0JPEG (*.JPG;*.JPEG;*.JPE;*.JFIF)\0*.JPG;*.JPEG;*.JPE;*.JFIF"
    "\0GIF (*.GIF)\0*.GIF"sv;
constexpr std::string_view kOpenPngType = "\0PNG (*.PNG)\0*.PNG"sv;
constexpr std::string_view kOpenIcoType = "\0ICO (*.ICO)\0*.ICO"sv;
constexpr std::string_view kAllFilesPattern = "\0*.*"sv;

} // namespace

std::string SaveFileTypeList(bool codecPresent) {
    std::string list(kBitmapFiles);
    list += kBmpPattern;
    if (codecPresent)
        list += kSaveCodecTypes;
    return list;
}

std::string OpenFileTypeList(bool codecPresent) {
    std::string list(kAllPictureFiles);
    list += kOpenAllPicturePatterns;
    list += codecPresent ? "*.PNG;*.ICO" : "*.ICO";
    list += '\0';
    list += kBitmapFiles;
    list += kBmpPattern;
    list += kOpenPlainTypes;
    if (codecPresent)
        list += kOpenPngType;
    list += kOpenIcoType;
    list += '\0';
    list += kAllFiles;
    list += kAllFilesPattern;
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

QString FileTypeDescription(std::string_view description) {
    return QCoreApplication::translate("tidepool::FileTypes", std::string(description).c_str());
}

} // namespace tidepool
