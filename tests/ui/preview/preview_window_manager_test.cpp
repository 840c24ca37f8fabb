// The preview window under a real window manager on a real X server (tests/support/x_desktop.sh):
// the size hints it is given, and drags of the frame's corner made with the real pointer.
#include "ui/preview/preview_window.h"

#include <QGuiApplication>
#include <QProcess>
#include <QScrollBar>
#include <QTest>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <optional>

namespace tidepool {
namespace {

constexpr int kLeastView = 67; // 1000 twips in whole pixels

// The minimum size in the window's WM_NORMAL_HINTS (ICCCM 4.1.2.3), as the window manager reads
// it: flags first, PMinSize (bit 4) saying whether min_width and min_height (words 5 and 6) count.
std::optional<QSize> HintedMinimum(const QWidget& window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr)
        return std::nullopt;
    xcb_connection_t* connection = x11->connection();
    const auto cookie = xcb_get_property(connection, 0, static_cast<xcb_window_t>(window.winId()),
                                         XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 0, 18);
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(connection, cookie, nullptr), &std::free);
    if (!reply || xcb_get_property_value_length(reply.get()) < 7 * 4)
        return std::nullopt;
    const auto* hints = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    constexpr std::uint32_t kMinimumSizeFlag = 1u << 4;
    if ((hints[0] & kMinimumSizeFlag) == 0)
        return std::nullopt;
    return QSize(static_cast<int>(hints[5]), static_cast<int>(hints[6]));
}

// Presses the left button at the corner and moves it by (dx, dy) in steps of the given size,
// pausing between them, then lets go: a drag through the X server, which the window manager
// turns into a resize as it does for a user.
bool DragCorner(QPoint corner, QPoint by, int steps, const QString& pause) {
    QStringList commands{QStringLiteral("mousemove"), QString::number(corner.x()),
                         QString::number(corner.y()), QStringLiteral("sleep"),
                         QStringLiteral("0.2"),       QStringLiteral("mousedown"),
                         QStringLiteral("1")};
    for (int i = 1; i <= steps; ++i) {
        const QPoint at = corner + by * i / steps;
        commands << QStringLiteral("mousemove") << QString::number(at.x())
                 << QString::number(at.y()) << QStringLiteral("sleep") << pause;
    }
    commands << QStringLiteral("sleep") << QStringLiteral("0.3") << QStringLiteral("mouseup")
             << QStringLiteral("1");
    // The window keeps handling its events meanwhile, as it does under a user's drag.
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), commands);
    if (!QTest::qWaitFor([&] { return xdotool.state() == QProcess::NotRunning; }, 60000))
        return false;
    return xdotool.exitStatus() == QProcess::NormalExit && xdotool.exitCode() == 0;
}

} // namespace

class PreviewWindowManagerTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QVERIFY2(QGuiApplication::platformName() == QStringLiteral("xcb"),
                 "run on X11 with a window manager (tests/support/x_desktop.sh)");
    }

    void init() {
        window_.emplace(DrawingSurface(240, 320));
        window_->move(300, 200);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(&*window_));
        // The window manager has framed it.
        QTRY_VERIFY(window_->frameGeometry() != window_->geometry());
    }
    void cleanup() { window_.reset(); }

    void windowManagerIsToldTheMinimum() {
        window_->showCanvas(std::make_shared<const DrawingSurface>(16, 16));
        QTRY_VERIFY(HintedMinimum(*window_) == QSize(68, 68));
        // A canvas that needs both bars once the window is small makes room for them.
        window_->showCanvas(std::make_shared<const DrawingSurface>(240, 320));
        const QSize bars(window_->findChild<QScrollBar*>(QStringLiteral("VScroll1"))->width(),
                         window_->findChild<QScrollBar*>(QStringLiteral("HScroll1"))->height());
        QTRY_VERIFY(HintedMinimum(*window_) == QSize(68, 68) + bars);
    }

    void dragBelowTheMinimumStopsAtIt_data() {
        QTest::addColumn<QSize>("canvas");
        QTest::addColumn<int>("steps");
        QTest::addColumn<QString>("pause");
        // One pixel at a time as fast as the pointer goes: the window manager's resizes and the
        // window's own snap-backs used to cross, leaving the viewport below its minimum.
        QTest::newRow("pixel by pixel, bars coming") << QSize(240, 320) << 250 << "0";
        QTest::newRow("pixel by pixel, no bar") << QSize(16, 16) << 250 << "0";
        QTest::newRow("in strides, bars coming") << QSize(240, 320) << 10 << "0.05";
        QTest::newRow("in strides, no bar") << QSize(16, 16) << 10 << "0.05";
    }
    void dragBelowTheMinimumStopsAtIt() {
        QFETCH(QSize, canvas);
        QFETCH(int, steps);
        QFETCH(QString, pause);
        window_->showCanvas(
            std::make_shared<const DrawingSurface>(canvas.width(), canvas.height()));
        QTest::qWait(200); // the new size hints on their way to the window manager
        QVERIFY(DragCorner(window_->frameGeometry().bottomRight(), {-250, -500}, steps, pause));
        QTest::qWait(300); // the last of the window manager's resizes

        // Whatever the window manager did last, the window settles with its viewport whole.
        QWidget* viewport = window_->findChild<QWidget*>(QStringLiteral("Picture1"));
        QTRY_VERIFY2(viewport->width() >= kLeastView && viewport->height() >= kLeastView,
                     qPrintable(QStringLiteral("viewport %1 x %2, window %3 x %4")
                                    .arg(viewport->width())
                                    .arg(viewport->height())
                                    .arg(window_->width())
                                    .arg(window_->height())));
        const std::optional<QSize> hinted = HintedMinimum(*window_);
        QVERIFY(hinted.has_value());
        // The drag went well past it, so the window manager held the window at it.
        QCOMPARE(window_->size(), *hinted);
    }

  private:
    std::optional<PreviewWindow> window_;
};

} // namespace tidepool

QTEST_MAIN(tidepool::PreviewWindowManagerTest)
#include "preview_window_manager_test.moc"
