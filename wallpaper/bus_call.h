#pragma once

#include "wallpaper/deadline.h"
#include "wallpaper/environment.h"

#include <QDBusConnection>
#include <QDBusMessage>

#include <chrono>
#include <string>

namespace tidepool {

// Calls a method on the bus and waits at most limit for the reply, letting the program's own
// events through meanwhile (a service in this process answers) but not the user's. A late reply
// comes back as the bus's NoReply error.
QDBusMessage CallAndWait(QDBusConnection& bus, const QDBusMessage& call,
                         std::chrono::milliseconds limit);

// Whether a program owns the name on the environment's session bus, asked within the deadline.
bool BusNameHasOwner(const Environment& environment, const std::string& name,
                     const Deadline& deadline);

} // namespace tidepool
