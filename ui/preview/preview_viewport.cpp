#include "ui/preview/preview_viewport.h"

#include "ui/preview/preview_layout.h"
#include "ui/surface_image.h"

#include <QMouseEvent>
#include <QPainter>

namespace tidepool {

PreviewViewport::PreviewViewport(const DrawingSurface& canvas, QWidget* parent)
    : QFrame(parent), canvas_(canvas) {
    setObjectName(QStringLiteral("Picture1"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setBackgroundRole(QPalette::Button);
    // Moves without a button restore the pointer after a drag.
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
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
    const Rect block = VisibleCanvasBlock({canvas_.width(), canvas_.height()}, sourceX_, sourceY_,
                                          {inside.width(), inside.height()});
    if (block.width > 0 && block.height > 0) {
        // Wraps the canvas's own pixels for this paint only: the canvas may be resized later.
        const QImage image = SurfaceImage(canvas_);
        const QPoint at = inside.topLeft() + QPoint(block.x - sourceX_, block.y - sourceY_);
        painter.drawImage(at, image, QRect(block.x, block.y, block.width, block.height));
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
