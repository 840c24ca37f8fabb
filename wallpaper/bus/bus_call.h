#pragma once

#include "wallpaper/core/deadline.h"
#include "wallpaper/core/environment.h"

#include <QDBusConnection>
#include <QDBusMessage>

#include <functional>
#include <string>

namespace tidepool {

// Runs this thread's events, but not the user's, until done says yes or the deadline passes,
// whichever is first; true when done said yes. The deadline holds in every state of the program,
// the application object's destruction included, when Qt delivers no more events to a worker
// thread.
bool RunEventsUntil(const Deadline& deadline, const std::function<bool()>& done);

// Calls a method on the bus and waits for the reply until the deadline, letting the program's own
// events through meanwhile (a service in this process answers) but not the user's. A late reply
// comes back as the bus's NoReply error.
QDBusMessage CallAndWait(QDBusConnection& bus, const QDBusMessage& call, const Deadline& deadline);

// Whether a program owns the name on the environment's session bus, asked within the deadline.
bool BusNameHasOwner(const Environment& environment, const std::string& name,
                     const Deadline& deadline);

} // namespace tidepool
