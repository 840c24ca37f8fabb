#include "ui/preview/preview_window.h"

#include "ui/preview/preview_inventory.h"
#include "ui/preview/preview_viewport.h"

#include <QCloseEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QWindow>

#include <algorithm>
#include <utility>

namespace tidepool {

namespace {

// The client area the window opens with, and its viewport: a drawing area of 240 x 320 pixels,
// the start-up canvas, inside the frame.
constexpr Extent kStartWindow{3675, 4875};
constexpr Extent kStartView{3660, 4860};

QRect ToQRect(const Rect& r) {
    return {r.x, r.y, r.width, r.height};
}

} // namespace

PreviewWindow::PreviewWindow(DrawingSurface canvas)
    : canvas_(std::make_shared<const DrawingSurface>(std::move(canvas))) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(tr("ピクチャー"));
    viewport_ = new PreviewViewport(*canvas_, this);
    // The viewport takes the focus and has no label: a screen reader names it by its window.
    viewport_->setAccessibleName(windowTitle());
    hBar_ = makeBar(Qt::Horizontal, kHorizontalBarName);
    vBar_ = makeBar(Qt::Vertical, kVerticalBarName);
    // The style decides the bars' thickness; the layout only reads it.
    metrics_ = StandardMetrics(hBar_->sizeHint().height() * kTwipsPerPixel,
                               vBar_->sizeHint().width() * kTwipsPerPixel);
    layout_ = InitialLayout(kStartWindow, kStartView);
    resize(kStartWindow.width / kTwipsPerPixel, kStartWindow.height / kTwipsPerPixel);
    viewport_->setGeometry(
        ToQRect(ToPixels({0, 0, kStartView.width, kStartView.height}, metrics_)));
    applyMinimumSize();

    connect(viewport_, &PreviewViewport::pressed, this, &PreviewWindow::startDrag);
    connect(viewport_, &PreviewViewport::moved, this, &PreviewWindow::dragOrRelease);
    showFromScroll(0, 0);
}

PreviewWindow::~PreviewWindow() = default;

void PreviewWindow::showCanvas(std::shared_ptr<const DrawingSurface> canvas) {
    canvas_ = std::move(canvas);
    viewport_->setCanvas(*canvas_);
    updateLayout();
}

// Starts hidden at the viewport's corner with range 0..0. Its value changes come from the user
// (arrows, trough, thumb) and from the program (a lowered range, a pan) alike.
QScrollBar* PreviewWindow::makeBar(Qt::Orientation orientation, const char* name) {
    auto* bar = new QScrollBar(orientation, this);
    bar->setObjectName(QLatin1String(name));
    bar->setRange(0, 0);
    bar->hide();
    // The keyboard never scrolls: a bar that would take the focus passes it to the viewport.
    bar->setFocusProxy(viewport_);
    connect(bar, &QScrollBar::valueChanged, this, &PreviewWindow::repaintFromBars);
    return bar;
}

void PreviewWindow::updateLayout() {
    if (!isVisible() || isMinimized())
        return;
    metrics_.devicePixelRatio = devicePixelRatioF();
    const Extent window{width() * kTwipsPerPixel, height() * kTwipsPerPixel};
    const ResizeOutcome outcome =
        LayOutPreview(layout_, metrics_, window, {canvas_->width(), canvas_->height()});
    if (outcome.snapBack != SnapBack::None) {
        snapBack(outcome.snapBack);
        return;
    }
    layout_ = outcome.layout;
    applyLayout();
    applyMinimumSize();
    repaintFromBars();
}

// The least size the layout accepts becomes Qt's minimum, which goes to the window manager's size
// hints, so a drag of the frame stops there. It is never above the window's size: a drawing that
// brings bars up must not make the window grow, and the snap-back still refuses any shrink from
// there.
void PreviewWindow::applyMinimumSize() {
    const Extent least =
        MinimumWindowPixels(layout_, metrics_, {canvas_->width(), canvas_->height()});
    setMinimumSize(std::min(least.width, width()), std::min(least.height, height()));
}

// Gives the window its last accepted width or height back. The resize that follows lays the
// window out again, possibly at once from inside this call, and may snap back the other side.
// Should the platform refuse a size, the nested relayout does not ask for that side again, so
// the two cannot chase each other.
void PreviewWindow::snapBack(SnapBack side) {
    bool& busy = side == SnapBack::Width ? snappingWidth_ : snappingHeight_;
    if (busy)
        return;
    const QScopedValueRollback<bool> guard(busy, true);
    if (side == SnapBack::Width)
        resize(layout_.lastWidth / kTwipsPerPixel, height());
    else
        resize(width(), layout_.lastHeight / kTwipsPerPixel);
}

void PreviewWindow::applyLayout() {
    viewport_->setGeometry(
        ToQRect(ToPixels({0, 0, layout_.viewWidth, layout_.viewHeight}, metrics_)));
    applyRange(hBar_, layout_.h, HorizontalBarPlace(layout_, metrics_));
    applyRange(vBar_, layout_.v, VerticalBarPlace(layout_, metrics_));
}

void PreviewWindow::applyRange(QScrollBar* bar, const ScrollRange& range, const Rect& place) {
    bar->setGeometry(ToQRect(ToPixels(place, metrics_)));
    bar->setMaximum(range.max);
    bar->setSingleStep(range.smallChange);
    bar->setPageStep(range.largeChange);
    bar->setVisible(range.shown);
}

void PreviewWindow::showFromScroll(int x, int y) {
    viewport_->showFrom(ScrollToPixel(x, metrics_.twipsPerPixelX, metrics_.devicePixelRatio),
                        ScrollToPixel(y, metrics_.twipsPerPixelY, metrics_.devicePixelRatio));
}

void PreviewWindow::repaintFromBars() {
    showFromScroll(hBar_->value(), vBar_->value());
}

void PreviewWindow::startDrag(Qt::MouseButton button, QPointF position) {
    if (button != Qt::LeftButton)
        return;
    drag_ = {PointerTwips(position.x(), metrics_.twipsPerPixelX),
             PointerTwips(position.y(), metrics_.twipsPerPixelY),
             static_cast<float>(hBar_->value()), static_cast<float>(vBar_->value())};
}

// Pans with the left button alone held. The horizontal bar moves first, so a diagonal move
// repaints twice.
void PreviewWindow::dragOrRelease(Qt::MouseButtons buttons, QPointF position) {
    if (buttons != Qt::LeftButton) {
        if (viewport_->cursor().shape() == Qt::CrossCursor)
            viewport_->unsetCursor();
        return;
    }
    viewport_->setCursor(Qt::CrossCursor);
    const PanPositions to = Pan(drag_, PointerTwips(position.x(), metrics_.twipsPerPixelX),
                                PointerTwips(position.y(), metrics_.twipsPerPixelY),
                                hBar_->maximum(), vBar_->maximum());
    hBar_->setValue(to.h);
    vBar_->setValue(to.v);
}

void PreviewWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    updateLayout();
}

// A drawing made while the window was hidden or minimised shows once it is back.
void PreviewWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // On a screen of another pixel ratio the canvas measures otherwise against the view.
    connect(windowHandle(), &QWindow::screenChanged, this, &PreviewWindow::updateLayout,
            Qt::UniqueConnection);
    updateLayout();
}

// Not every platform shows a restored window anew, so a restore catches up here as well.
void PreviewWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        updateLayout();
}

void PreviewWindow::closeEvent(QCloseEvent* event) {
    emit closed();
    event->accept();
}

} // namespace tidepool
