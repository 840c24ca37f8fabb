#include "ui/preview/preview_window.h"

#include "tests/support/device_pixels.h"
#include "tests/support/qt_picture.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include <optional>

namespace tidepool {
namespace {

QScrollBar* Bar(PreviewWindow& w, const char* name) {
    return w.findChild<QScrollBar*>(QLatin1String(name));
}

QWidget* Viewport(PreviewWindow& w) {
    return w.findChild<QWidget*>(QStringLiteral("Picture1"));
}

void SendMouse(QWidget* to, QEvent::Type type, QPoint at, Qt::MouseButton button,
               Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), to->mapToGlobal(QPointF(at)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(to, &event);
}

// The canvas pixel the view starts at for the bars' positions.
QPoint ShownFrom(PreviewWindow& w) {
    const qreal ratio = w.devicePixelRatioF();
    return {ScrollToPixel(Bar(w, "HScroll1")->value(), 15, ratio),
            ScrollToPixel(Bar(w, "VScroll1")->value(), 15, ratio)};
}

// The first device pixel inside the viewport's frame that is not the canvas's pixel from `from`
// on, one to one, or the background colour where the canvas ends; empty when all match.
QString FirstMismatch(QWidget* view, const DrawingSurface& canvas, QPoint from, QRgb background) {
    const QImage shown = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect inside = testing::InsideDevicePixels(view);
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const int cx = from.x() + x - inside.left();
            const int cy = from.y() + y - inside.top();
            const bool inCanvas = cx < canvas.width() && cy < canvas.height();
            const QRgb expected = inCanvas ? canvas.pixel(cx, cy) : background;
            if ((shown.pixel(x, y) | 0xFF000000u) != (expected | 0xFF000000u))
                return QStringLiteral("device pixel (%1, %2): %3, expected %4")
                    .arg(x)
                    .arg(y)
                    .arg(shown.pixel(x, y), 8, 16)
                    .arg(expected, 8, 16);
        }
    return {};
}

// A button colour unlike the window colour, so that the background's role shows.
QRgb SetViewBackground(PreviewWindow& w) {
    const QColor background(0x12, 0x34, 0x56);
    QPalette palette = w.palette();
    palette.setColor(QPalette::Button, background);
    w.setPalette(palette);
    return background.rgb();
}

} // namespace

class PreviewWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        window_.emplace(DrawingSurface(240, 320));
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(&*window_));
    }
    void cleanup() { window_.reset(); }

    // Canvas sizes in device pixels: the start-up view's inside and more, or as they stand.
    void barsFollowTheCanvas_data() {
        QTest::addColumn<bool>("fromView");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("hShown");
        QTest::addColumn<bool>("vShown");
        QTest::newRow("fits exactly") << true << QSize(0, 0) << false << false;
        QTest::newRow("one pixel wider") << true << QSize(1, -150) << true << false;
        QTest::newRow("one pixel taller") << true << QSize(-150, 1) << false << true;
        QTest::newRow("largest") << false << QSize(2400, 2400) << true << true;
        QTest::newRow("back to small") << false << QSize(16, 16) << false << false;
    }
    void barsFollowTheCanvas() {
        QFETCH(bool, fromView);
        QFETCH(QSize, size);
        QFETCH(bool, hShown);
        QFETCH(bool, vShown);
        QWidget* viewport = Viewport(*window_);
        const QSize canvas =
            (fromView ? testing::InsideDevicePixels(viewport).size() : QSize(0, 0)) + size;
        window_->showCanvas(
            std::make_shared<const DrawingSurface>(testing::PatternedSurface(2400, 2400)));
        window_->showCanvas(std::make_shared<const DrawingSurface>(
            testing::PatternedSurface(canvas.width(), canvas.height())));
        QScrollBar* h = Bar(*window_, "HScroll1");
        QScrollBar* v = Bar(*window_, "VScroll1");
        QCOMPARE(h->isVisible(), hShown);
        QCOMPARE(v->isVisible(), vShown);
        // Each bar lies along the viewport's edge.
        const QRect view = viewport->geometry();
        if (hShown)
            QCOMPARE(h->geometry(), QRect(0, view.bottom() + 1, view.width(), h->height()));
        if (vShown)
            QCOMPARE(v->geometry(), QRect(view.right() + 1, 0, v->width(), view.height()));
        // At the end of its range a bar shows the canvas's far edge, one to one, and at most one
        // device pixel beyond it.
        h->setValue(h->maximum());
        v->setValue(v->maximum());
        const QPoint from = ShownFrom(*window_);
        const QSize inside = testing::InsideDevicePixels(viewport).size();
        if (hShown)
            QVERIFY(from.x() + inside.width() - canvas.width() == 0 ||
                    from.x() + inside.width() - canvas.width() == 1);
        if (vShown)
            QVERIFY(from.y() + inside.height() - canvas.height() == 0 ||
                    from.y() + inside.height() - canvas.height() == 1);
        const QString mismatch =
            FirstMismatch(viewport, window_->canvas(), from, SetViewBackground(*window_));
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
    }

    // One pixel wider than the view at one device pixel to a window pixel: 30 twips.
    void rangeOfOnePixelOverAtTheClassicRatio() {
        if (window_->devicePixelRatioF() != 1)
            QSKIP("the classic twips hold at one device pixel to a window pixel");
        window_->showCanvas(std::make_shared<const DrawingSurface>(241, 100));
        QCOMPARE(Bar(*window_, "HScroll1")->maximum(), 30);
    }

    void catchesUpWhenBack_data() {
        QTest::addColumn<bool>("minimise");
        QTest::newRow("hidden") << false;
        QTest::newRow("minimised") << true;
    }
    void catchesUpWhenBack() {
        QFETCH(bool, minimise);
        minimise ? window_->showMinimized() : window_->hide();
        window_->showCanvas(std::make_shared<const DrawingSurface>(2400, 2400));
        QScrollBar* h = Bar(*window_, "HScroll1");
        QVERIFY(!h->isVisibleTo(&*window_));
        window_->showNormal();
        QVERIFY(h->isVisibleTo(&*window_));
        QVERIFY(Bar(*window_, "VScroll1")->isVisibleTo(&*window_));
    }

    void dragPansThreeTimesThePointer_data() {
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<int>("held");
        QTest::addColumn<int>("h");
        QTest::addColumn<int>("v");
        // Pressed at (100, 100) with the bars at (300, 600).
        QTest::newRow("left and down") << QPoint(90, 105) << int(Qt::LeftButton) << 750 << 375;
        QTest::newRow("past zero") << QPoint(110, 100) << int(Qt::LeftButton) << 0 << 600;
        QTest::newRow("both buttons")
            << QPoint(90, 105) << int(Qt::LeftButton | Qt::RightButton) << 300 << 600;
        QTest::newRow("no button") << QPoint(90, 105) << int(Qt::NoButton) << 300 << 600;
    }
    void dragPansThreeTimesThePointer() {
        QFETCH(QPoint, to);
        QFETCH(int, held);
        QFETCH(int, h);
        QFETCH(int, v);
        window_->showCanvas(
            std::make_shared<const DrawingSurface>(testing::PatternedSurface(2400, 2400)));
        Bar(*window_, "HScroll1")->setValue(300);
        Bar(*window_, "VScroll1")->setValue(600);
        QWidget* view = Viewport(*window_);
        SendMouse(view, QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton, Qt::LeftButton);
        SendMouse(view, QEvent::MouseMove, to, Qt::NoButton, Qt::MouseButtons(held));
        QCOMPARE(Bar(*window_, "HScroll1")->value(), h);
        QCOMPARE(Bar(*window_, "VScroll1")->value(), v);
        const bool panned = held == Qt::LeftButton;
        QCOMPARE(view->cursor().shape(), panned ? Qt::CrossCursor : Qt::ArrowCursor);
        const QString mismatch = FirstMismatch(view, window_->canvas(), ShownFrom(*window_),
                                               SetViewBackground(*window_));
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
        // Once the button is up, the next move brings the usual pointer back.
        SendMouse(view, QEvent::MouseMove, to, Qt::NoButton, Qt::NoButton);
        QCOMPARE(view->cursor().shape(), Qt::ArrowCursor);
    }

    void viewShowsTheCanvasAtTheScrollPosition_data() {
        QTest::addColumn<QSize>("canvas");
        QTest::addColumn<int>("h");
        QTest::addColumn<int>("v");
        QTest::newRow("top left") << QSize(500, 600) << 0 << 0;
        QTest::newRow("scrolled") << QSize(500, 600) << 300 << 150;
        QTest::newRow("part of a pixel") << QSize(500, 600) << 29 << 44;
        QTest::newRow("small canvas") << QSize(100, 50) << 0 << 0;
    }
    void viewShowsTheCanvasAtTheScrollPosition() {
        QFETCH(QSize, canvas);
        QFETCH(int, h);
        QFETCH(int, v);
        window_->showCanvas(std::make_shared<const DrawingSurface>(
            testing::PatternedSurface(canvas.width(), canvas.height())));
        if (h || v) {
            Bar(*window_, "HScroll1")->setValue(h);
            Bar(*window_, "VScroll1")->setValue(v);
        }
        const QString mismatch = FirstMismatch(Viewport(*window_), window_->canvas(),
                                               ShownFrom(*window_), SetViewBackground(*window_));
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
    }

    // The least size the layout accepts is Qt's minimum, which the window manager is given.
    void minimumSizeKeepsTheViewportAtItsLeast_data() {
        QTest::addColumn<QSize>("canvas");
        QTest::addColumn<bool>("bars");
        QTest::newRow("no bar") << QSize(16, 16) << false;
        QTest::newRow("both bars") << QSize(2400, 2400) << true;
    }
    void minimumSizeKeepsTheViewportAtItsLeast() {
        QFETCH(QSize, canvas);
        QFETCH(bool, bars);
        window_->showCanvas(
            std::make_shared<const DrawingSurface>(canvas.width(), canvas.height()));
        const QSize barSizes(Bar(*window_, "VScroll1")->width(),
                             Bar(*window_, "HScroll1")->height());
        // 1000 twips of viewport, 67 pixels at least, and the pixel the window has beyond it.
        const QSize least = QSize(68, 68) + (bars ? barSizes : QSize(0, 0));
        QCOMPARE(window_->minimumSize(), least);
        window_->resize(30, 30);
        QTRY_COMPARE(window_->size(), least);
        QVERIFY(Viewport(*window_)->width() >= 67 && Viewport(*window_)->height() >= 67);
        // Bars a later drawing brings up take their room from the viewport: the window, at its
        // least, does not grow.
        window_->showCanvas(std::make_shared<const DrawingSurface>(2400, 2400));
        QCOMPARE(window_->size(), least);
    }

    // A window manager that ignores the minimum still gets the last accepted size back.
    void shrinkBelowTheMinimumSnapsBack_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("too narrow") << QSize(60, 325) << QSize(245, 325);
        QTest::newRow("too low") << QSize(245, 60) << QSize(245, 325);
        QTest::newRow("both") << QSize(60, 60) << QSize(245, 325);
        QTest::newRow("smallest allowed") << QSize(68, 68) << QSize(68, 68);
    }
    void shrinkBelowTheMinimumSnapsBack() {
        QFETCH(QSize, size);
        QFETCH(QSize, expected);
        window_->showCanvas(
            std::make_shared<const DrawingSurface>(16, 16)); // no bar takes from the viewport
        // The platform window, not the widget: Qt would hold a widget resize to the minimum.
        window_->windowHandle()->resize(size);
        QTRY_COMPARE(window_->size(), expected);
        QTRY_COMPARE(Viewport(*window_)->size(), expected - QSize(1, 1));
    }

    void barsPassTheFocusToTheViewport() {
        window_->showCanvas(std::make_shared<const DrawingSurface>(2400, 2400));
        Bar(*window_, "HScroll1")->setFocus();
        QCOMPARE(window_->focusWidget(), Viewport(*window_));
    }

    void closingAsksTheMainWindowToClose() {
        QSignalSpy closed(&*window_, &PreviewWindow::closed);
        QVERIFY(window_->close());
        QCOMPARE(closed.count(), 1);
    }

  private:
    std::optional<PreviewWindow> window_;
};

} // namespace tidepool

QTEST_MAIN(tidepool::PreviewWindowTest)
#include "preview_window_test.moc"
