#include "ui/main/picture_path_drop.h"

#include "ui/files/picture_drop.h"

#include <QDropEvent>
#include <QLineEdit>

namespace tidepool {

PicturePathDrop::PicturePathDrop(QLineEdit* field) : QObject(field), field_(field) {
    field->setAcceptDrops(true);
    field->installEventFilter(this);
}

bool PicturePathDrop::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched != field_ ||
        (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop))
        return false;
    // DragEnter and DragMove events are drop events too.
    auto* drop = static_cast<QDropEvent*>(event);
    const QString path = DroppedPicturePath(*drop->mimeData());
    const Qt::DropAction action = PictureDropAction(drop->possibleActions());
    if (path.isEmpty() || action == Qt::IgnoreAction) {
        drop->ignore();
        return true;
    }
    drop->setDropAction(action);
    drop->accept();
    if (type == QEvent::Drop)
        field_->setText(path);
    return true;
}

} // namespace tidepool
