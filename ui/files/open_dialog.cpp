#include "ui/files/open_dialog.h"

#include "ui/files/file_type_list.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include <algorithm>

namespace tidepool {

namespace {

QString QtPatterns(std::string_view patterns) {
    QStringList qt = QString::fromUtf8(patterns).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    std::replace(qt.begin(), qt.end(), QStringLiteral("*.*"), QStringLiteral("*"));
    return qt.join(QLatin1Char(' '));
}

// The 1-based number of the filter the dialog reports as chosen, 0 when it is none of them. With
// the patterns hidden, Qt reports a filter by the text it showed, which is its description.
int ChosenFilterNumber(const QStringList& nameFilters, const QString& chosen) {
    for (int i = 0; i < nameFilters.size(); ++i) {
        const QString& filter = nameFilters[i];
        if (chosen == filter || chosen == filter.left(filter.lastIndexOf(QLatin1String(" ("))))
            return i + 1;
    }
    return 0;
}

std::optional<OpenDialogAnswer> AskOpenFile(QWidget* owner, const QStringList& nameFilters,
                                            int selected, const QString& folder) {
    QFileDialog dialog(owner);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // The patterns were added for Qt to filter by; the user sees the descriptions as written.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(nameFilters);
    dialog.selectNameFilter(nameFilters.value(selected - 1, nameFilters.value(0)));
    dialog.setDirectory(folder);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return OpenDialogAnswer{dialog.selectedFiles().constFirst(),
                            ChosenFilterNumber(nameFilters, dialog.selectedNameFilter())};
}

} // namespace

OpenFilePrompt DesktopOpenFilePrompt() {
    return AskOpenFile;
}

QStringList OpenDialogNameFilters(std::string_view fileTypeList) {
    QStringList filters;
    const std::vector<std::string_view> items = FileTypeListItems(fileTypeList);
    for (std::size_t i = 0; i + 1 < items.size(); i += 2)
        filters << QStringLiteral("%1 (%2)").arg(FileTypeDescription(items[i]),
                                                 QtPatterns(items[i + 1]));
    return filters;
}

QString ShowOpenDialog(QWidget* owner, std::string_view fileTypeList, const QString& initialFolder,
                       std::int16_t& filterIndex, const OpenFilePrompt& prompt) {
    const std::optional<OpenDialogAnswer> answer = prompt(
        owner, OpenDialogNameFilters(fileTypeList), std::max<int>(filterIndex, 1), initialFolder);
    if (!answer || answer->path.isEmpty())
        return {};
    const QFileInfo chosen(answer->path);
    filterIndex = static_cast<std::int16_t>(std::max(answer->filterIndex, 1));
    return QDir::toNativeSeparators(chosen.absoluteFilePath());
}

} // namespace tidepool
