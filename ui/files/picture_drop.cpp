#include "ui/files/picture_drop.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace tidepool {

QString DroppedPicturePath(const QMimeData& data) {
    for (const QUrl& url : data.urls()) {
        if (url.isLocalFile())
            return QDir::toNativeSeparators(QFileInfo(url.toLocalFile()).absoluteFilePath());
    }
    return {};
}

Qt::DropAction PictureDropAction(Qt::DropActions possible) {
    if (possible.testFlag(Qt::CopyAction))
        return Qt::CopyAction;
    if (possible.testFlag(Qt::LinkAction))
        return Qt::LinkAction;
    return Qt::IgnoreAction;
}

} // namespace tidepool
