#include "wallpaper/bus_call.h"

#include "wallpaper/session_bus.h"

#include <QDBusPendingCallWatcher>
#include <QEventLoop>

namespace tidepool {

QDBusMessage CallAndWait(QDBusConnection& bus, const QDBusMessage& call,
                         std::chrono::milliseconds limit) {
    // At least a millisecond: below that Qt's bus would wait its own default of 25 s.
    const int milliseconds = static_cast<int>(std::max<long long>(1, limit.count()));
    QDBusPendingCallWatcher watcher(bus.asyncCall(call, milliseconds));
    if (!watcher.isFinished()) {
        QEventLoop loop;
        QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    return watcher.reply();
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
    const QDBusMessage reply = CallAndWait(bus, call, deadline.remaining());
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().first().toBool();
}

} // namespace tidepool
