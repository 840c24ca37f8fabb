#pragma once

#include <QList>
#include <QMargins>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QTimer>

#include <functional>

class QWidget;

namespace tidepool {

// A window's outer size: its own size and the window manager's frame as the desktop has it now.
// (QWidget::frameGeometry can lag behind a frame just added.)
QSize OuterSize(const QWidget& window);
// Moves a window so that its frame's top-left corner is at framePosition. (QWidget::move reckons
// with the same lagging frame.)
void MoveFrameTo(QWidget& window, QPoint framePosition);

// Places windows by their outer size, frame included, and places them again when the window
// manager's frames turn out different from those they were placed with: on X11 the frame is
// added after a window is shown, and not always with an event that says so. The frames are looked
// at on a short timer until every window has one, and for a second at most, so that afterwards the
// user may move the windows.
class FramePlacement : public QObject {
    Q_OBJECT

  public:
    using Place = std::function<void()>;
    using FrameOf = std::function<QMargins(const QWidget&)>;

    // place moves the windows; frameOf tells a window's frame as the window manager has it now.
    FramePlacement(const QList<QWidget*>& windows, Place place, FrameOf frameOf, QObject* parent);
    FramePlacement(const QList<QWidget*>& windows, Place place, QObject* parent);

    // Places the windows with the frames known now, and starts looking for their frames.
    void placeNow();
    // Places the windows again when their frames differ from those they were placed with.
    void checkFrames();
    bool watching() const { return timer_.isActive(); }

  private:
    QList<QMargins> frames() const;

    QList<QPointer<QWidget>> windows_;
    Place place_;
    FrameOf frameOf_;
    QList<QMargins> placedWith_;
    QTimer timer_;
    int checksLeft_ = 0;
};

} // namespace tidepool
