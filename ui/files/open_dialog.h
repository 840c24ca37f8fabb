#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

class QWidget;

namespace tidepool {

// What the desktop's open dialog answered: the file chosen and the 1-based number of the type
// shown when it was chosen.
struct OpenDialogAnswer {
    QString path;
    int filterIndex = 1;
};

// Shows the open dialog, modal to owner, offering the types (Qt name filters) with type number
// selected (1-based) preselected, opened in folder, for an existing file. Nothing on cancel. The
// program asks through the desktop's dialog; tests answer instead.
using OpenFilePrompt = std::function<std::optional<OpenDialogAnswer>(
    QWidget* owner, const QStringList& nameFilters, int selected, const QString& folder)>;

// The desktop's own open dialog. It shows each type by its description alone.
OpenFilePrompt DesktopOpenFilePrompt();

// A list OpenFileTypeList builds as Qt name filters: each description followed by its patterns
// in brackets, which is what Qt filters by. "*.*" stands for every file, with or without a dot,
// as it does on the desktop the list was written for.
QStringList OpenDialogNameFilters(std::string_view fileTypeList);

// Asks the user for an existing file. filterIndex preselects a type (0 for the first) and holds
// the type chosen after a completed dialog; after a cancel it is left alone. The current folder
// stays as it was; the caller decides whether the browse succeeded. Returns the full path in the
// desktop's own notation, of any length, or an empty text when the user cancels.
QString ShowOpenDialog(QWidget* owner, std::string_view fileTypeList, const QString& initialFolder,
                       std::int16_t& filterIndex, const OpenFilePrompt& prompt);

} // namespace tidepool
