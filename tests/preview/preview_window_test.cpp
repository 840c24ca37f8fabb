#include "ui/preview/preview_window.h"

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

constexpr int kFrame = 2; // the viewport's frame, in pixels

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

// The first pixel inside the viewport's frame that is not the canvas's pixel from (sx, sy) on,
// or the background colour where the canvas ends; empty when all match.
QString FirstMismatch(const QImage& view, const DrawingSurface& canvas, int sx, int sy,
                      QRgb background) {
    for (int y = kFrame; y < view.height() - kFrame; ++y)
        for (int x = kFrame; x < view.width() - kFrame; ++x) {
            const int cx = sx + x - kFrame;
            const int cy = sy + y - kFrame;
            const bool inCanvas = cx < canvas.width() && cy < canvas.height();
            const QRgb expected = inCanvas ? canvas.pixel(cx, cy) : background;
            if ((view.pixel(x, y) | 0xFF000000u) != (expected | 0xFF000000u))
                return QStringLiteral("view (%1, %2): %3, expected %4")
                    .arg(x)
                    .arg(y)
                    .arg(view.pixel(x, y), 8, 16)
                    .arg(expected, 8, 16);
        }
    return {};
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

    void barsFollowTheCanvas_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("hShown");
        QTest::addColumn<bool>("vShown");
        QTest::addColumn<int>("max"); // of the one bar shown, if only one is
        QTest::newRow("start-up size") << 240 << 320 << false << false << 0;
        QTest::newRow("one pixel wider") << 241 << 100 << true << false << 30;
        QTest::newRow("one pixel taller") << 100 << 321 << false << true << 30;
        QTest::newRow("largest") << 2400 << 2400 << true << true << 0;
        QTest::newRow("back to small") << 16 << 16 << false << false << 0;
    }
    void barsFollowTheCanvas() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(bool, hShown);
        QFETCH(bool, vShown);
        QFETCH(int, max);
        window_->canvas().resize(2400, 2400);
        window_->Form_Resize();
        window_->canvas().resize(width, height);
        window_->Form_Resize();
        QScrollBar* h = Bar(*window_, "HScroll1");
        QScrollBar* v = Bar(*window_, "VScroll1");
        QCOMPARE(h->isVisible(), hShown);
        QCOMPARE(v->isVisible(), vShown);
        if (hShown != vShown)
            QCOMPARE((hShown ? h : v)->maximum(), max);
        // Each bar lies along the viewport's edge.
        const QRect view = Viewport(*window_)->geometry();
        if (hShown)
            QCOMPARE(h->geometry(), QRect(0, view.bottom() + 1, view.width(), h->height()));
        if (vShown)
            QCOMPARE(v->geometry(), QRect(view.right() + 1, 0, v->width(), view.height()));
    }

    void catchesUpWhenBack_data() {
        QTest::addColumn<bool>("minimise");
        QTest::newRow("hidden") << false;
        QTest::newRow("minimised") << true;
    }
    void catchesUpWhenBack() {
        QFETCH(bool, minimise);
        minimise ? window_->showMinimized() : window_->hide();
        window_->canvas().resize(2400, 2400);
        window_->Form_Resize();
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
        window_->canvas().resize(2400, 2400);
        window_->Form_Resize();
        Bar(*window_, "HScroll1")->setValue(300);
        Bar(*window_, "VScroll1")->setValue(600);
        QWidget* view = Viewport(*window_);
        SendMouse(view, QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton, Qt::LeftButton);
        SendMouse(view, QEvent::MouseMove, to, Qt::NoButton, Qt::MouseButtons(held));
        QCOMPARE(Bar(*window_, "HScroll1")->value(), h);
        QCOMPARE(Bar(*window_, "VScroll1")->value(), v);
        const bool panned = held == Qt::LeftButton;
        QCOMPARE(view->cursor().shape(), panned ? Qt::CrossCursor : Qt::ArrowCursor);
        // Once the button is up, the next move brings the usual pointer back.
        SendMouse(view, QEvent::MouseMove, to, Qt::NoButton, Qt::NoButton);
        QCOMPARE(view->cursor().shape(), Qt::ArrowCursor);
    }

    void viewShowsTheCanvasAtTheScrollPosition_data() {
        QTest::addColumn<QSize>("canvas");
        QTest::addColumn<int>("h");
        QTest::addColumn<int>("v");
        QTest::addColumn<QPoint>("from"); // canvas pixel at the inside corner
        QTest::newRow("top left") << QSize(500, 600) << 0 << 0 << QPoint(0, 0);
        QTest::newRow("scrolled") << QSize(500, 600) << 300 << 150 << QPoint(20, 10);
        QTest::newRow("part of a pixel") << QSize(500, 600) << 29 << 44 << QPoint(1, 2);
        QTest::newRow("small canvas") << QSize(100, 50) << 0 << 0 << QPoint(0, 0);
    }
    void viewShowsTheCanvasAtTheScrollPosition() {
        QFETCH(QSize, canvas);
        QFETCH(int, h);
        QFETCH(int, v);
        QFETCH(QPoint, from);
        window_->canvas() = testing::PatternedSurface(canvas.width(), canvas.height());
        window_->Form_Resize();
        if (h || v) {
            Bar(*window_, "HScroll1")->setValue(h);
            Bar(*window_, "VScroll1")->setValue(v);
        }
        // A button colour unlike the window colour, so the background's role shows.
        const QColor background(0x12, 0x34, 0x56);
        QPalette palette = window_->palette();
        palette.setColor(QPalette::Button, background);
        window_->setPalette(palette);
        QWidget* view = Viewport(*window_);
        const QImage shown = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QString mismatch =
            FirstMismatch(shown, window_->canvas(), from.x(), from.y(), background.rgb());
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
        window_->canvas().resize(canvas.width(), canvas.height());
        window_->Form_Resize();
        const QSize barSizes(Bar(*window_, "VScroll1")->width(), Bar(*window_, "HScroll1")->height());
        // 1000 twips of viewport, 67 pixels at least, and the pixel the window has beyond it.
        const QSize least = QSize(68, 68) + (bars ? barSizes : QSize(0, 0));
        QCOMPARE(window_->minimumSize(), least);
        window_->resize(30, 30);
        QTRY_COMPARE(window_->size(), least);
        QVERIFY(Viewport(*window_)->width() >= 67 && Viewport(*window_)->height() >= 67);
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
        window_->canvas().resize(16, 16); // no bar takes from the viewport
        window_->Form_Resize();
        // The platform window, not the widget: Qt would hold a widget resize to the minimum.
        window_->windowHandle()->resize(size);
        QTRY_COMPARE(window_->size(), expected);
        QTRY_COMPARE(Viewport(*window_)->size(), expected - QSize(1, 1));
    }

    void barsPassTheFocusToTheViewport() {
        window_->canvas().resize(2400, 2400);
        window_->Form_Resize();
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
