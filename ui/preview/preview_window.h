// Form2, the preview window.
#pragma once

#include "render/raster/drawing_surface.h"
#include "ui/preview/pan.h"
#include "ui/preview/preview_layout.h"

#include <QWidget>

#include <memory>

class QScrollBar;

namespace tidepool {

class PreviewViewport;

// Form2, "ピクチャー": owns the canvas and shows it 1:1 in a resizable viewport with scroll bars
// and drag-panning. Closing it asks the main window to close, which ends the program.
class PreviewWindow : public QWidget {
    Q_OBJECT

  public:
    // The window starts with this canvas, blank at the main window's start-up size.
    explicit PreviewWindow(DrawingSurface canvas);
    ~PreviewWindow() override;

    // The canvas: the wallpaper as shown, which the Save and wallpaper commands take. A canvas once
    // shown never changes: a drawing makes a new one, and work still holding the old keeps it.
    const DrawingSurface& canvas() const { return *canvas_; }
    std::shared_ptr<const DrawingSurface> sharedCanvas() const { return canvas_; }
    // Shows another canvas, with the bars brought up to date for it.
    void showCanvas(std::shared_ptr<const DrawingSurface> canvas);

    // Brings the scroll bars and the view up to date with the window's size and the canvas.
    // Does nothing while the window is hidden or minimised; it catches up when shown again.
    void updateLayout();

  signals:
    // The user closed this window; the main window closes in turn.
    void closed();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    QScrollBar* makeBar(Qt::Orientation orientation, const char* name);
    void applyLayout();
    void applyMinimumSize();
    void applyRange(QScrollBar* bar, const ScrollRange& range, const Rect& place);
    void snapBack(SnapBack side);
    // Shows the canvas from the scroll positions x and y (twips).
    void showFromScroll(int x, int y);
    void repaintFromBars();
    void startDrag(Qt::MouseButton button, QPointF position);
    void dragOrRelease(Qt::MouseButtons buttons, QPointF position);

    std::shared_ptr<const DrawingSurface> canvas_;
    PreviewMetrics metrics_;
    PreviewLayout layout_;
    DragStart drag_;
    bool snappingWidth_ = false; // a snap-back is under way
    bool snappingHeight_ = false;
    // Owned by this window as their parent.
    PreviewViewport* viewport_ = nullptr;
    QScrollBar* hBar_ = nullptr;
    QScrollBar* vBar_ = nullptr;
};

} // namespace tidepool
