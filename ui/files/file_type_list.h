#pragma once

#include <QString>

#include <string>
#include <string_view>
#include <vector>

namespace tidepool {

// The file dialogs' lists of types: description and pattern items, each separated from the next
// by one NUL, none after the last. Patterns within an item are separated by ";".

// The save dialog's types: BMP only, or BMP, JPEG, GIF and PNG (types 1 to 4) when the codec
// plug-in is there.
std::string SaveFileTypeList(bool codecPresent);

// The open dialog's types: all pictures, BMP, JPEG, GIF, ICO and all files, with PNG after GIF
// and among all pictures only when the codec plug-in, which alone reads PNG, is there.
std::string OpenFileTypeList(bool codecPresent);

// The items of a list, in order: descriptions at even positions, patterns at odd.
std::vector<std::string_view> FileTypeListItems(std::string_view list);

// The text before its first NUL, or all of it.
std::string_view TrimAtNull(std::string_view text);

// A description of a list, as the dialogs show it: in the application's language.
QString FileTypeDescription(std::string_view description);

} // namespace tidepool
