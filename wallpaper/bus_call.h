#pragma once

#include <QDBusConnection>
#include <QDBusMessage>

#include <chrono>

namespace tidepool {

// Calls a method on the bus and waits at most limit for the reply, letting the program's own
// events through meanwhile (a service in this process answers) but not the user's: a window
// waiting here takes no clicks. A late reply comes back as the bus's NoReply error.
QDBusMessage CallAndWait(QDBusConnection& bus, const QDBusMessage& call,
                         std::chrono::milliseconds limit);

} // namespace tidepool
