#include "wallpaper/core/file_uri.h"

#include <QUrl>

namespace tidepool {

std::string FileUri(const std::filesystem::path& file) {
    return QUrl::fromLocalFile(QString::fromStdString(file.string()))
        .toString(QUrl::FullyEncoded)
        .toStdString();
}

} // namespace tidepool
