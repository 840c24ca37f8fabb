#include "imagefile/save_dialog_rules.h"

#include <algorithm>

namespace tidepool {
namespace {

using namespace std::string_view_literals;

// The sv literals keep the embedded NULs that a plain literal's length would stop at.
constexpr std::string_view kBmpTypes = "ビットマップファイル (*.bmp)\0*.bmp"sv;
constexpr std::string_view kCodecTypes =
    "\0JPEG (*.JPG)\0*.jpg\0GIF (*.GIF)\0*.gif\0PNG (*.PNG)\0*.png"sv;

std::string_view ExtensionOfPattern(std::string_view pattern) {
    const std::size_t dot = pattern.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : pattern.substr(dot);
}

} // namespace

std::string SaveFileTypeList(bool codecPresent) {
    std::string list(kBmpTypes);
    if (codecPresent)
        list += kCodecTypes;
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

std::string NameWithTypeExtension(std::string_view fileTypeList, int filterIndex,
                                  std::string_view name) {
    const std::vector<std::string_view> items = FileTypeListItems(fileTypeList);
    const int types = static_cast<int>(items.size() / 2);
    const int type = std::clamp(filterIndex, 1, std::max(types, 1));
    const std::size_t patternItem = static_cast<std::size_t>(2 * type - 1);
    const std::string_view extension =
        patternItem < items.size() ? ExtensionOfPattern(items[patternItem]) : std::string_view();

    std::string result(TrimAtNull(name));
    const std::size_t dot = result.rfind('.');
    if (dot == std::string::npos || std::string_view(result).substr(dot) != extension)
        result += extension;
    return result;
}

} // namespace tidepool
