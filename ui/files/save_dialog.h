#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

class QWidget;

namespace tidepool {

// What the desktop's save dialog answered: the name as it returned it (the dialog has already
// asked before replacing a file of that name) and the 1-based number of the type chosen.
struct SaveDialogAnswer {
    QString name;
    int filterIndex = 1;
};

// The two questions the save dialog puts to the user. The program asks through the desktop's
// dialogs; tests answer them instead.
struct SaveDialogPrompts {
    // Shows the save dialog, modal to owner, offering the types (descriptions) with type number
    // selected (1-based) preselected, opened in folder with name proposed. Nothing on cancel.
    std::function<std::optional<SaveDialogAnswer>(QWidget* owner, const QStringList& types,
                                                  int selected, const QString& folder,
                                                  const QString& name)>
        askName;
    // Whether the existing file at path may be replaced.
    std::function<bool(QWidget* owner, const QString& path)> askReplace;
};

// The desktop's own save dialog and replace question.
SaveDialogPrompts DesktopSaveDialogPrompts();

// Asks the user for the name to save under. fileTypeList is a list SaveFileTypeList builds;
// filterIndex preselects a type (0 for the first) and holds the type chosen after a completed
// dialog. The name returned ends in the chosen type's extension; when adding the extension names
// a file that exists, the user is asked again before it is replaced. The current folder stays
// as it was; the caller makes the chosen folder current once the file is saved. Returns an empty
// text when the user cancels.
QString ShowSaveDialog(QWidget* owner, std::string_view fileTypeList, const QString& initialFolder,
                       const QString& fileName, std::int16_t& filterIndex,
                       const SaveDialogPrompts& prompts);

} // namespace tidepool
