#pragma once

#include "render/raster/drawing_surface.h"

#include <QImage>
#include <QPainter>

#include <cmath>

namespace tidepool {

// A surface's own pixels as an image, without copying them. The image is only valid until the
// surface is resized or destroyed, so it is made afresh for every paint.
inline QImage SurfaceImage(const DrawingSurface& surface) {
    return QImage(reinterpret_cast<const uchar*>(surface.pixels()), surface.width(),
                  surface.height(), static_cast<qsizetype>(surface.width()) * 4,
                  QImage::Format_RGB32);
}

// The device pixels that lie wholly inside a rectangle of window pixels, on a screen with
// devicePixelRatio device pixels to a window pixel.
inline QRect DevicePixelsInside(const QRect& rect, qreal devicePixelRatio) {
    const int left = static_cast<int>(std::ceil(rect.x() * devicePixelRatio));
    const int top = static_cast<int>(std::ceil(rect.y() * devicePixelRatio));
    const int right = static_cast<int>(std::floor((rect.x() + rect.width()) * devicePixelRatio));
    const int bottom = static_cast<int>(std::floor((rect.y() + rect.height()) * devicePixelRatio));
    return {left, top, right - left, bottom - top};
}

// Draws the block (surface pixels) of image one surface pixel to a device pixel, its top-left
// corner at the device pixel at: a picture shown as the desktop would show it, never enlarged.
inline void DrawOneToOne(QPainter& painter, QImage image, const QRect& block, QPoint at,
                         qreal devicePixelRatio) {
    image.setDevicePixelRatio(devicePixelRatio);
    painter.drawImage(QPointF(at) / devicePixelRatio, image, QRectF(block));
}

} // namespace tidepool
