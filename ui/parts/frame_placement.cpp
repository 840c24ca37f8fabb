#include "ui/parts/frame_placement.h"

#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace tidepool {

namespace {

// Frames usually arrive within a few milliseconds of showing; a second covers a busy desktop.
constexpr int kCheckMilliseconds = 20;
constexpr int kChecks = 50;

QMargins WindowManagerFrame(const QWidget& window) {
    const QWindow* handle = window.windowHandle();
    return handle != nullptr ? handle->frameMargins() : QMargins();
}

} // namespace

QSize OuterSize(const QWidget& window) {
    return window.size().grownBy(WindowManagerFrame(window));
}

void MoveFrameTo(QWidget& window, QPoint framePosition) {
    QWindow* handle = window.windowHandle();
    if (handle == nullptr) {
        window.move(framePosition);
        return;
    }
    const QMargins frame = handle->frameMargins();
    handle->setPosition(framePosition + QPoint(frame.left(), frame.top()));
}

FramePlacement::FramePlacement(const QList<QWidget*>& windows, Place place, FrameOf frameOf,
                               QObject* parent)
    : QObject(parent), place_(std::move(place)), frameOf_(std::move(frameOf)) {
    for (QWidget* window : windows)
        windows_ << window;
    timer_.setInterval(kCheckMilliseconds);
    connect(&timer_, &QTimer::timeout, this, &FramePlacement::checkFrames);
}

FramePlacement::FramePlacement(const QList<QWidget*>& windows, Place place, QObject* parent)
    : FramePlacement(windows, std::move(place), WindowManagerFrame, parent) {}

void FramePlacement::placeNow() {
    placedWith_ = frames();
    place_();
    const bool framed = std::none_of(placedWith_.begin(), placedWith_.end(),
                                     [](const QMargins& frame) { return frame.isNull(); });
    if (framed) {
        timer_.stop();
    } else if (!timer_.isActive()) {
        checksLeft_ = kChecks;
        timer_.start();
    }
}

void FramePlacement::checkFrames() {
    if (frames() != placedWith_)
        placeNow();
    else if (--checksLeft_ <= 0)
        timer_.stop();
}

QList<QMargins> FramePlacement::frames() const {
    QList<QMargins> frames;
    for (const QPointer<QWidget>& window : windows_)
        frames << (window ? frameOf_(*window) : QMargins());
    return frames;
}

} // namespace tidepool
