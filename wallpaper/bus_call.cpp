#include "wallpaper/bus_call.h"

#include <QDBusPendingCallWatcher>
#include <QEventLoop>

namespace tidepool {

QDBusMessage CallAndWait(QDBusConnection& bus, const QDBusMessage& call,
                         std::chrono::milliseconds limit) {
    QDBusPendingCallWatcher watcher(bus.asyncCall(call, static_cast<int>(limit.count())));
    if (!watcher.isFinished()) {
        QEventLoop loop;
        QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    return watcher.reply();
}

} // namespace tidepool
