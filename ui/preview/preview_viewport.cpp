#include "ui/preview/preview_viewport.h"

#include "ui/parts/surface_image.h"
#include "ui/preview/preview_inventory.h"
#include "ui/preview/preview_layout.h"

#include <QMouseEvent>
#include <QPainter>

namespace tidepool {

PreviewViewport::PreviewViewport(const DrawingSurface& canvas, QWidget* parent)
    : QFrame(parent), canvas_(&canvas) {
    setObjectName(QLatin1String(kPreviewViewportName));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setBackgroundRole(QPalette::Button);
    // Moves without a button restore the pointer after a drag.
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void PreviewViewport::setCanvas(const DrawingSurface& canvas) {
    canvas_ = &canvas;
    update();
}

void PreviewViewport::showFrom(int x, int y) {
    sourceX_ = x;
    sourceY_ = y;
    update();
}

void PreviewViewport::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect inside = contentsRect();
    painter.fillRect(inside, palette().color(backgroundRole()));
    // In device pixels: the canvas is shown as the desktop shows the wallpaper, never enlarged.
    const qreal ratio = devicePixelRatioF();
    const QRect deviceInside = DevicePixelsInside(inside, ratio);
    const Rect block = VisibleCanvasBlock({canvas_->width(), canvas_->height()}, sourceX_, sourceY_,
                                          {deviceInside.width(), deviceInside.height()});
    if (block.width > 0 && block.height > 0) {
        // Wraps the canvas's own pixels for this paint only: another canvas may be shown later.
        const QPoint at = deviceInside.topLeft() + QPoint(block.x - sourceX_, block.y - sourceY_);
        DrawOneToOne(painter, SurfaceImage(*canvas_),
                     QRect(block.x, block.y, block.width, block.height), at, ratio);
    }
    drawFrame(&painter);
}

void PreviewViewport::mousePressEvent(QMouseEvent* event) {
    emit pressed(event->button(), event->position());
    event->accept();
}

void PreviewViewport::mouseMoveEvent(QMouseEvent* event) {
    emit moved(event->buttons(), event->position());
    event->accept();
}

} // namespace tidepool
