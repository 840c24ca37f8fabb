#pragma once

#include "wallpaper/core/environment.h"

#include <QDBusConnection>

namespace tidepool {

// The session bus the environment names (DBUS_SESSION_BUS_ADDRESS, or the bus socket in
// XDG_RUNTIME_DIR), never one started for the asking; not connected when there is none.
QDBusConnection SessionBus(const Environment& environment);

} // namespace tidepool
