#include "wallpaper/bus/bus_call.h"

#include "wallpaper/bus/session_bus.h"

#include <QDBusPendingCallWatcher>
#include <QEventLoop>
#include <QTimer>

namespace tidepool {

bool RunEventsUntil(const Deadline& deadline, const std::function<bool()>& done) {
    // The clock is read at every wake-up, and the tick makes sure there is one. A timer's own
    // event is not enough: once the application object is being destroyed, Qt drops the events of
    // worker threads, so a wait that ended on one would never end.
    constexpr std::chrono::milliseconds kTick{50};
    QEventLoop loop;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    while (!done() && !deadline.passed()) {
        tick.start(std::clamp(deadline.remaining(), std::chrono::milliseconds(1), kTick));
        loop.processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
    }
    return done();
}

QDBusMessage CallAndWait(QDBusConnection& bus, const QDBusMessage& call, const Deadline& deadline) {
    // At least a millisecond: below that Qt's bus would wait its own default of 25 s.
    const int milliseconds = static_cast<int>(std::max<long long>(1, deadline.remaining().count()));
    const QDBusPendingCall pending = bus.asyncCall(call, milliseconds);
    // The call's state, unlike its signal, is kept up by the bus's own thread whatever this
    // thread's events do.
    if (!RunEventsUntil(deadline, [&pending] { return pending.isFinished(); }))
        return QDBusMessage::createError(QDBusError::NoReply,
                                         QStringLiteral("no reply before the time limit"));
    return pending.reply();
}

bool BusNameHasOwner(const Environment& environment, const std::string& name,
                     const Deadline& deadline) {
    QDBusConnection bus = SessionBus(environment);
    if (!bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
    call << QString::fromStdString(name);
    const QDBusMessage reply = CallAndWait(bus, call, deadline);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().first().toBool();
}

} // namespace tidepool
