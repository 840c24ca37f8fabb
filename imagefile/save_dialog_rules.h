#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tidepool {

// What the save dialog proposes and shows when a save fails.
inline constexpr std::string_view kSaveProposedName = "Save";
inline constexpr std::string_view kSaveFailedMessage = "ファイルの保存に失敗しました。";

// The save dialog's file types: description and pattern items, each separated from the next by
// one NUL, none after the last. BMP only, or BMP, JPEG, GIF and PNG (types 1 to 4) when the codec
// plug-in is there.
std::string SaveFileTypeList(bool codecPresent);

// The items of a NUL-separated list, in order: descriptions at even positions, patterns at odd.
std::vector<std::string_view> FileTypeListItems(std::string_view list);

// The text before its first NUL, or all of it.
std::string_view TrimAtNull(std::string_view text);

// The name a completed save dialog returns: name, with the chosen type's extension (".bmp" for
// type 1 of the list) appended unless the part from its last "." already equals it exactly, in
// the same letter case. So "photo.JPG" saved as JPEG becomes "photo.JPG.jpg". Type numbers start
// at 1; 0, which a dialog reports when it preselected nothing, counts as the first type.
std::string NameWithTypeExtension(std::string_view fileTypeList, int filterIndex,
                                  std::string_view name);

} // namespace tidepool
