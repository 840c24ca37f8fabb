#include "ui/files/save_dialog.h"

#include "ui/files/save_dialog_rules.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include <algorithm>

namespace tidepool {

namespace {

// The descriptions of a file-type list, in type order.
QStringList TypeDescriptions(std::string_view fileTypeList) {
    QStringList descriptions;
    const std::vector<std::string_view> items = FileTypeListItems(fileTypeList);
    for (std::size_t i = 0; i < items.size(); i += 2)
        descriptions << FileTypeDescription(items[i]);
    return descriptions;
}

std::optional<SaveDialogAnswer> AskSaveFileName(QWidget* owner, const QStringList& types,
                                                int selected, const QString& folder,
                                                const QString& name) {
    QFileDialog dialog(owner);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The descriptions carry their patterns in brackets, which is what Qt filters by. No default
    // suffix: the chosen type's extension is added afterwards, so "photo" saved as JPEG becomes
    // photo.jpg and not photo.bmp.jpg.
    dialog.setNameFilters(types);
    dialog.selectNameFilter(types.value(selected - 1, types.value(0)));
    dialog.setDirectory(folder);
    dialog.selectFile(name);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return SaveDialogAnswer{dialog.selectedFiles().constFirst(),
                            static_cast<int>(types.indexOf(dialog.selectedNameFilter())) + 1};
}

bool AskReplaceFile(QWidget* owner, const QString& path) {
    const QString text = QCoreApplication::translate("tidepool::SaveDialog",
                                                     "%1 は既に存在します。\n上書きしますか?")
                             .arg(QDir::toNativeSeparators(path));
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Tidepool"), text,
                    QMessageBox::Yes | QMessageBox::No, owner);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace

SaveDialogPrompts DesktopSaveDialogPrompts() {
    return SaveDialogPrompts{AskSaveFileName, AskReplaceFile};
}

QString ShowSaveDialog(QWidget* owner, std::string_view fileTypeList, const QString& initialFolder,
                       const QString& fileName, std::int16_t& filterIndex,
                       const SaveDialogPrompts& prompts) {
    const QStringList types = TypeDescriptions(fileTypeList);
    const std::optional<SaveDialogAnswer> answer =
        prompts.askName(owner, types, std::max<int>(filterIndex, 1), initialFolder, fileName);
    if (!answer || answer->name.isEmpty())
        return {};

    const int chosenType = answer->filterIndex >= 1 ? answer->filterIndex : 1;
    const QString name = QString::fromStdString(
        NameWithTypeExtension(fileTypeList, chosenType, answer->name.toStdString()));
    // The dialog only asked about the name as typed; a name made longer is asked about here.
    if (name != answer->name && QFileInfo::exists(name) && !prompts.askReplace(owner, name))
        return {};
    filterIndex = static_cast<std::int16_t>(chosenType);
    return name;
}

} // namespace tidepool
