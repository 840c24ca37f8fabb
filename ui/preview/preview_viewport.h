#pragma once

#include "render/raster/drawing_surface.h"

#include <QFrame>

class QMouseEvent;
class QPaintEvent;

namespace tidepool {

// The preview's viewport: shows the canvas inside a 2-pixel sunken frame, from a chosen canvas
// pixel on, one canvas pixel to a device pixel. It reads the canvas at every paint, so a canvas
// resized since the last paint is never read out of bounds; where the view reaches past the canvas
// it shows its background colour.
class PreviewViewport : public QFrame {
    Q_OBJECT

  public:
    // canvas belongs to the window that owns this viewport and outlives every paint, as does
    // each canvas set later.
    PreviewViewport(const DrawingSurface& canvas, QWidget* parent);

    // Shows another canvas from the next paint on.
    void setCanvas(const DrawingSurface& canvas);

    // Shows the canvas from its pixel (x, y) at the inside top-left corner of the frame.
    void showFrom(int x, int y);

  signals:
    // Positions are in the viewport's pixels.
    void pressed(Qt::MouseButton button, QPointF position);
    void moved(Qt::MouseButtons buttons, QPointF position);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    const DrawingSurface* canvas_;
    int sourceX_ = 0;
    int sourceY_ = 0;
};

} // namespace tidepool
