#pragma once

#include <QString>
#include <Qt>

class QMimeData;

namespace tidepool {

// The picture path a drop carries: the full path of its first file, in the desktop's own
// notation, or an empty text when it carries no file (plain text, web addresses). The file is not
// tested in any way; the drawing reports a missing or unreadable one.
QString DroppedPicturePath(const QMimeData& data);

// How a file drop is taken: as a copy, or a link when the source offers no copy, never as a move,
// which would let the source remove the user's file once the path is taken. Qt::IgnoreAction
// when neither is offered.
Qt::DropAction PictureDropAction(Qt::DropActions possible);

} // namespace tidepool
