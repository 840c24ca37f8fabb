#pragma once

#include <QRect>
#include <QWidget>

#include <cmath>

namespace tidepool::testing {

// The device pixels wholly inside a framed widget's frame, in a grab of the widget: where a frame
// edge falls within a device pixel, that pixel is the frame's.
inline QRect InsideDevicePixels(const QWidget* framed) {
    const qreal ratio = framed->devicePixelRatioF();
    const QRect inside = framed->contentsRect();
    const int left = static_cast<int>(std::ceil(inside.left() * ratio));
    const int top = static_cast<int>(std::ceil(inside.top() * ratio));
    return QRect(QPoint(left, top),
                 QPoint(static_cast<int>(std::floor((inside.right() + 1) * ratio)) - 1,
                        static_cast<int>(std::floor((inside.bottom() + 1) * ratio)) - 1));
}

} // namespace tidepool::testing
