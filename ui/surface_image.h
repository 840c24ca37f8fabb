#pragma once

#include "render/drawing_surface.h"

#include <QImage>

namespace tidepool {

// A surface's own pixels as an image, without copying them. The image is only valid until the
// surface is resized or destroyed, so it is made afresh for every paint.
inline QImage SurfaceImage(const DrawingSurface& surface) {
    return QImage(reinterpret_cast<const uchar*>(surface.pixels()), surface.width(),
                  surface.height(), static_cast<qsizetype>(surface.width()) * 4,
                  QImage::Format_RGB32);
}

} // namespace tidepool
