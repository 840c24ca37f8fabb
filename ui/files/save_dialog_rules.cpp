#include "ui/files/save_dialog_rules.h"

#include <algorithm>

namespace tidepool {
namespace {

std::string_view ExtensionOfPattern(std::string_view pattern) {
    const std::size_t dot = pattern.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : pattern.substr(dot);
}

} // namespace

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
