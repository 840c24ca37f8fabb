#pragma once

#include "ui/files/file_type_list.h"

#include <QtGlobal>

#include <string>
#include <string_view>

namespace tidepool {

// What the save dialog proposes and shows when a save fails.
inline constexpr std::string_view kSaveProposedName = "Save";
inline constexpr std::string_view kSaveFailedMessage =
    QT_TRANSLATE_NOOP("tidepool::Messages", "ファイルの保存に失敗しました。");

// The name a completed save dialog returns: name, with the chosen type's extension (".bmp" for
// type 1 of the list) appended unless the part from its last "." already equals it exactly, in
// the same letter case. So "photo.JPG" saved as JPEG becomes "photo.JPG.jpg". Type numbers start
// at 1; 0, which a dialog reports when it preselected nothing, counts as the first type.
std::string NameWithTypeExtension(std::string_view fileTypeList, int filterIndex,
                                  std::string_view name);

} // namespace tidepool
