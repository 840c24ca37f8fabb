#pragma once

#include <QApplication>

#include <memory>

namespace tidepool {

// Creates the application, which connects to the window system. When that fails, Qt would print
// several lines and abort with a core dump; instead this prints one line, "tidepool: cannot open
// a display: set DISPLAY or WAYLAND_DISPLAY (<Qt's reason>)", and ends the process with status 1.
// The messages Qt gives while it connects are held back and passed on only once it has connected.
std::unique_ptr<QApplication> OpenWindowSystem(int& argc, char** argv);

} // namespace tidepool
