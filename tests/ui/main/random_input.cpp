#include "tests/ui/main/random_input.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QPointer>
#include <QScopedValueRollback>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <QWindow>

#include <array>
#include <cstdio>
#include <utility>

namespace tidepool::testing {

namespace {

// A key as a real keyboard sends it: control keys carry their control character as text.
struct KeyPress {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* text;
    const char* name;
};

const std::array<KeyPress, 40> kKeys{{
    {Qt::Key_Tab, Qt::NoModifier, "\t", "Tab"},
    {Qt::Key_Backtab, Qt::ShiftModifier, "", "Shift+Tab"},
    {Qt::Key_Up, Qt::NoModifier, "", "Up"},
    {Qt::Key_Down, Qt::NoModifier, "", "Down"},
    {Qt::Key_Left, Qt::NoModifier, "", "Left"},
    {Qt::Key_Right, Qt::NoModifier, "", "Right"},
    {Qt::Key_Return, Qt::NoModifier, "\r", "Return"},
    {Qt::Key_Enter, Qt::KeypadModifier, "\r", "Enter"},
    {Qt::Key_Space, Qt::NoModifier, " ", "Space"},
    {Qt::Key_Escape, Qt::NoModifier, "\x1b", "Escape"},
    {Qt::Key_Home, Qt::NoModifier, "", "Home"},
    {Qt::Key_End, Qt::NoModifier, "", "End"},
    {Qt::Key_PageUp, Qt::NoModifier, "", "PageUp"},
    {Qt::Key_PageDown, Qt::NoModifier, "", "PageDown"},
    {Qt::Key_Backspace, Qt::NoModifier, "\b", "Backspace"},
    {Qt::Key_Delete, Qt::NoModifier, "\x7f", "Delete"},
    {Qt::Key_X, Qt::AltModifier, "x", "Alt+X"},
    {Qt::Key_S, Qt::AltModifier, "s", "Alt+S"},
    {Qt::Key_O, Qt::AltModifier, "o", "Alt+O"},
    {Qt::Key_W, Qt::AltModifier, "w", "Alt+W"},
    {Qt::Key_G, Qt::AltModifier, "g", "Alt+G"},
    {Qt::Key_B, Qt::AltModifier, "b", "Alt+B"},
    {Qt::Key_C, Qt::AltModifier, "c", "Alt+C"},
    {Qt::Key_Z, Qt::ControlModifier, "\x1a", "Ctrl+Z"},
    {Qt::Key_Y, Qt::ControlModifier, "\x19", "Ctrl+Y"},
    {Qt::Key_A, Qt::ControlModifier, "\x01", "Ctrl+A"},
    {Qt::Key_C, Qt::ControlModifier, "\x03", "Ctrl+C"},
    {Qt::Key_X, Qt::ControlModifier, "\x18", "Ctrl+X"},
    {Qt::Key_V, Qt::ControlModifier, "\x16", "Ctrl+V"},
    {Qt::Key_Insert, Qt::ShiftModifier, "", "Shift+Insert"},
    {Qt::Key_0, Qt::NoModifier, "0", "0"},
    {Qt::Key_1, Qt::NoModifier, "1", "1"},
    {Qt::Key_5, Qt::NoModifier, "5", "5"},
    {Qt::Key_9, Qt::NoModifier, "9", "9"},
    {Qt::Key_Period, Qt::NoModifier, ".", "."},
    {Qt::Key_Minus, Qt::NoModifier, "-", "-"},
    {Qt::Key_Comma, Qt::NoModifier, ",", ","},
    {Qt::Key_A, Qt::NoModifier, "a", "a"},
    {Qt::Key_Slash, Qt::NoModifier, "/", "/"},
    {Qt::Key_F1, Qt::NoModifier, "", "F1"},
}};

// What typed, pasted and dropped text is made of: what the fields take, what they refuse, and
// what a shell or a path would make something of.
const QString kCharacters = QStringLiteral("0123456789.-.,+e aZ/\\$`;'\"１２．あ漢\t");

QString Describe(const QWidget* widget) {
    if (widget == nullptr)
        return QStringLiteral("(none)");
    const QString name = widget->objectName();
    return QString::fromLatin1(widget->metaObject()->className()) +
           (name.isEmpty() ? QString() : QLatin1Char(' ') + name);
}

// The widget a user's pointer at point (window coordinates) would reach.
QWidget* WidgetAt(QWidget* window, QPoint point) {
    QWidget* child = window->childAt(point);
    return child != nullptr ? child : window;
}

// The widget that takes a drop at the widget under the pointer: it or its nearest parent that
// accepts drops, as Qt itself looks for one.
QWidget* DropTarget(QWidget* widget) {
    while (widget != nullptr && !widget->acceptDrops() && !widget->isWindow())
        widget = widget->parentWidget();
    return widget != nullptr && widget->acceptDrops() ? widget : nullptr;
}

// Whether a menu or a modal dialog is up that is not window: then a user's input cannot reach it.
bool Blocked(const QWidget* window) {
    QWidget* front = QApplication::activePopupWidget();
    if (front == nullptr)
        front = QApplication::activeModalWidget();
    return front != nullptr && front != window;
}

} // namespace

RandomInput::RandomInput(std::uint32_t seed, int events, std::function<QList<QWidget*>()> windows,
                         QStringList droppedFiles)
    : random_(seed), remaining_(events), windows_(std::move(windows)),
      droppedFiles_(std::move(droppedFiles)) {}

void RandomInput::start(std::function<void()> done) {
    done_ = std::move(done);
    scheduleStep();
}

// A fresh single shot each time: a timer is never fired again while its own handler runs, and
// the handler may be waiting in a dialog's event loop for the events that follow.
void RandomInput::scheduleStep() {
    QTimer::singleShot(0, this, &RandomInput::step);
}

int RandomInput::pick(int count) {
    return count <= 1 ? 0 : std::uniform_int_distribution<int>(0, count - 1)(random_);
}

QString RandomInput::randomText() {
    QString text;
    for (int i = 0, n = 1 + pick(6); i < n; ++i)
        text += kCharacters.at(pick(static_cast<int>(kCharacters.size())));
    return text;
}

void RandomInput::log(const QString& what) {
    std::printf("%5d %s\n", sent_, qPrintable(what));
    std::fflush(stdout);
}

QWidget* RandomInput::pickWindow() {
    if (QWidget* popup = QApplication::activePopupWidget())
        return popup;
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    QList<QWidget*> shown;
    for (QWidget* window : windows_()) {
        if (window->isMinimized())
            window->showNormal(); // as a user brings it back from the task bar
        if (window->isVisible())
            shown << window;
    }
    if (shown.isEmpty())
        return nullptr;
    // The first window, where most of the work is, three times in four.
    return pick(4) != 0 ? shown.first() : shown.at(pick(static_cast<int>(shown.size())));
}

QPoint RandomInput::pickPoint(const QWidget& window) {
    return {pick(window.width()), pick(window.height())};
}

void RandomInput::step() {
    // While an event waits for the window manager, the events after it wait too: the choices
    // stay in their order, and so the run is the same each time. Unless a dialog has come up
    // meanwhile (a button's delayed click): the wait cannot end before the dialog does, so the
    // events go to it.
    if (waitingFor_ && !Blocked(waitingFor_)) {
        scheduleStep();
        return;
    }
    if (remaining_ <= 0) {
        finish();
        return;
    }
    --remaining_;
    ++sent_;
    // The next event is due already: this one may open a dialog, whose own event loop must go on
    // getting events.
    scheduleStep();
    QPointer<QWidget> window = pickWindow();
    if (window == nullptr)
        return;
    bringToFront(window);
    // Something that went on meanwhile (a button's delayed click) may have put a dialog up.
    if (!window || Blocked(window)) {
        log(QStringLiteral("skipped: a dialog came up"));
        return;
    }
    // Weights out of 100: what a user does most, pointing and typing, comes most often.
    const int roll = pick(100);
    if (roll < 35)
        click(window);
    else if (roll < 45)
        drag(window);
    else if (roll < 49)
        wheel(window);
    else if (roll < 79)
        key(window);
    else if (roll < 89)
        type(window);
    else if (roll < 93)
        paste(window);
    else if (roll < 97)
        drop(window);
    else
        resize(window);
}

void RandomInput::click(QWidget* window) {
    const QPoint point = pickPoint(*window);
    QPointer<QWidget> target = WidgetAt(window, point);
    const QPoint local = target->mapFrom(window, point);
    const int roll = pick(10);
    const Qt::MouseButton button =
        roll < 8 ? Qt::LeftButton : (roll == 8 ? Qt::RightButton : Qt::MiddleButton);
    const bool twice = pick(8) == 0;
    log(QStringLiteral("%1 %2 at %3,%4 on %5")
            .arg(twice ? "double-click" : "click")
            .arg(button == Qt::LeftButton    ? "left"
                 : button == Qt::RightButton ? "right"
                                             : "middle")
            .arg(local.x())
            .arg(local.y())
            .arg(Describe(target)));
    if (twice)
        QTest::mouseDClick(target, button, {}, local);
    else
        QTest::mouseClick(target, button, {}, local);
}

void RandomInput::drag(QWidget* window) {
    const QPoint from = pickPoint(*window);
    const QPoint to = pickPoint(*window);
    QPointer<QWidget> target = WidgetAt(window, from);
    const QPoint start = target->mapFrom(window, from);
    const QPoint end = target->mapFrom(window, to);
    log(QStringLiteral("drag %1,%2 to %3,%4 on %5")
            .arg(start.x())
            .arg(start.y())
            .arg(end.x())
            .arg(end.y())
            .arg(Describe(target)));
    QTest::mousePress(target, Qt::LeftButton, {}, start);
    // The pressed widget gets every move until the release, wherever the pointer goes.
    for (int i = 1, steps = 1 + pick(8); i <= steps && target; ++i) {
        const QPoint at = start + (end - start) * i / steps;
        QMouseEvent move(QEvent::MouseMove, QPointF(at), target->mapToGlobal(QPointF(at)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
    }
    if (target)
        QTest::mouseRelease(target, Qt::LeftButton, {}, end);
}

void RandomInput::wheel(QWidget* window) {
    const QPoint point = pickPoint(*window);
    QPointer<QWidget> target = WidgetAt(window, point);
    const QPoint local = target->mapFrom(window, point);
    const int notches = pick(7) - 3;
    const bool across = pick(4) == 0;
    log(QStringLiteral("wheel %1 %2 on %3")
            .arg(notches)
            .arg(across ? "across" : "down")
            .arg(Describe(target)));
    const QPoint angle = across ? QPoint(notches * 120, 0) : QPoint(0, notches * 120);
    QWheelEvent event(QPointF(local), target->mapToGlobal(QPointF(local)), QPoint(), angle,
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

// A user's input goes to the window in front, where a click on it would bring it: so does this,
// which also keeps the run the same from one time to the next, whatever the window manager's
// timing.
void RandomInput::bringToFront(QWidget* window) {
    if (window->isActiveWindow() || window == QApplication::activePopupWidget())
        return;
    window->raise();
    window->activateWindow();
    const QScopedValueRollback<QPointer<QWidget>> waiting(waitingFor_, window);
    if (!QTest::qWaitForWindowActive(window, 2000))
        log(QStringLiteral("%1 did not come to the front").arg(Describe(window)));
}

// The control of the window that has the focus, or had it last while another window was active:
// where a user's typing goes once the window is brought to the front.
QWidget* RandomInput::focusIn(QWidget* window) {
    QWidget* focus = window->focusWidget();
    return focus != nullptr ? focus : window;
}

void RandomInput::key(QWidget* window) {
    QPointer<QWidget> target = focusIn(window);
    const KeyPress& press = kKeys[static_cast<std::size_t>(pick(static_cast<int>(kKeys.size())))];
    log(QStringLiteral("key %1 to %2").arg(QLatin1String(press.name), Describe(target)));
    const QString text = QString::fromLatin1(press.text);
    QTest::sendKeyEvent(QTest::Press, target, press.key, text, press.modifiers);
    if (target)
        QTest::sendKeyEvent(QTest::Release, target, press.key, text, press.modifiers);
}

void RandomInput::type(QWidget* window) {
    QPointer<QWidget> target = focusIn(window);
    const QString text = randomText();
    // Sometimes as an input method commits it, whole.
    const bool committed = pick(4) == 0;
    log(QStringLiteral("%1 \"%2\" to %3")
            .arg(committed ? "commit" : "type", text, Describe(target)));
    if (committed) {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(target, &commit);
        return;
    }
    for (const QChar character : text) {
        if (!target)
            return;
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(character),
                            Qt::NoModifier);
    }
}

void RandomInput::paste(QWidget* window) {
    const QString text = randomText();
    QGuiApplication::clipboard()->setText(text);
    QPointer<QWidget> target = focusIn(window);
    log(QStringLiteral("paste \"%1\" to %2").arg(text, Describe(target)));
    QTest::sendKeyEvent(QTest::Press, target, Qt::Key_V, QStringLiteral("\x16"),
                        Qt::ControlModifier);
    if (target)
        QTest::sendKeyEvent(QTest::Release, target, Qt::Key_V, QStringLiteral("\x16"),
                            Qt::ControlModifier);
}

void RandomInput::drop(QWidget* window) {
    const QPoint point = pickPoint(*window);
    QPointer<QWidget> target = DropTarget(WidgetAt(window, point));
    if (!target)
        return;
    const QPoint local = target->mapFrom(window, point);
    QMimeData data;
    QString what;
    if (pick(2) == 0 && !droppedFiles_.isEmpty()) {
        QList<QUrl> urls;
        for (int i = 0, n = 1 + pick(3); i < n; ++i)
            urls << QUrl::fromLocalFile(
                droppedFiles_.at(pick(static_cast<int>(droppedFiles_.size()))));
        data.setUrls(urls);
        what = urls.first().toLocalFile();
    } else {
        what = randomText();
        data.setText(what);
    }
    log(QStringLiteral("drop \"%1\" on %2").arg(what, Describe(target)));
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    QDragEnterEvent enter(local, offered, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &enter);
    if (!target || !enter.isAccepted())
        return;
    QDragMoveEvent move(local, offered, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &move);
    if (!target)
        return;
    if (!move.isAccepted()) {
        QDragLeaveEvent leave;
        QApplication::sendEvent(target, &leave);
        return;
    }
    QDropEvent dropped(QPointF(local), offered, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &dropped);
}

// A new size for the window through the platform, as a window manager gives one, or a minimise.
void RandomInput::resize(QWidget* window) {
    if (window->windowHandle() == nullptr)
        return;
    if (pick(4) == 0 && !window->isModal()) {
        log(QStringLiteral("minimise %1").arg(Describe(window)));
        window->showMinimized();
        return;
    }
    const QSize size(20 + pick(700), 20 + pick(600));
    log(QStringLiteral("resize %1 to %2 x %3")
            .arg(Describe(window))
            .arg(size.width())
            .arg(size.height()));
    window->windowHandle()->resize(size);
}

// Closes whatever menus and dialogs the last events left open, one a turn, so that each one's
// own event loop ends before the next is closed; then reports the run done.
void RandomInput::finish() {
    if (QWidget* popup = QApplication::activePopupWidget()) {
        log(QStringLiteral("closing %1").arg(Describe(popup)));
        popup->close();
        scheduleStep();
        return;
    }
    if (QWidget* modal = QApplication::activeModalWidget()) {
        log(QStringLiteral("closing %1").arg(Describe(modal)));
        // A dialog ends its own loop when rejected, whatever its close box would do.
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        scheduleStep();
        return;
    }
    if (done_)
        std::exchange(done_, nullptr)();
}

} // namespace tidepool::testing
