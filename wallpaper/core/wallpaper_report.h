#pragma once

#include <string>
#include <vector>

namespace tidepool {

// The ways a wallpaper is put on the desktop, in the order they are tried.
enum class Way { Portal, DesktopTool, RootWindow };

// Why a way was passed over or failed, in words the program has in both of its languages. What
// came from outside (a tool's own message, a folder) goes with it as detail.
enum class WayReason {
    None,
    SeveralScreens,     // the portal scales its one picture over every screen
    NoSessionBus,       // there is no session bus to find the portal on
    NoPortal,           // nothing on the bus answers as the wallpaper portal
    PortalDeclined,     // the portal answered that it did not set it (or the user cancelled)
    NoAnswer,           // no answer within the time limit
    NoToolForDesktop,   // the desktop is not one whose tool is known
    Sandboxed,          // inside a sandbox, where the tool would change only the sandbox's settings
    NoDesktop,          // no desktop is named: there is no tool to ask
    ToolMissing,        // the desktop's tool is not installed
    ToolFailed,         // the tool ran and failed
    NotKept,            // the tool ran, but the desktop's settings do not say what it was told
    NothingDraws,       // no program of the desktop draws the background
    UnsafePath,         // the picture's path cannot be handed to the tool safely
    DesktopDrawsItsOwn, // a desktop covers the root window with its own background
    NoDisplay,          // no X11 display to reach
    WaylandSession,     // a Wayland session, which shows no X11 root window
    DisplayRefused,     // the X server refused a request or has no usable visual
    NoScreens,          // the screens are not known, or too large to compose for
    CannotStore,        // the picture could not be written
};

// One way tried: whether it put the wallpaper on the desktop, and otherwise why not. tool names
// the desktop's tool for that way ("gsettings"); checked says what was read back to know that it
// took ("picture-uri read back; org.gnome.Shell is on the bus").
struct WayResult {
    Way way = Way::Portal;
    bool applied = false;
    WayReason reason = WayReason::None;
    std::string tool;
    std::string detail;
    std::string checked;
};

// Every way tried, in order; the last is the one that applied it, if any did.
struct WallpaperReport {
    std::vector<WayResult> tried;

    bool applied() const { return !tried.empty() && tried.back().applied; }
};

// "applied through the desktop portal (checked: ...)", for the way that applied it.
std::string AppliedLine(const WayResult& result);
// One line per way, for the command line.
std::vector<std::string> ReportLines(const WallpaperReport& report);
// One line per way for the window: written in Japanese, and shown in the application's language
// where a translation is installed.
std::vector<std::string> WindowReportLines(const WallpaperReport& report);

} // namespace tidepool
