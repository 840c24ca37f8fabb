#include "wallpaper/apply_wallpaper.h"

#include "wallpaper/bus/portal_wallpaper.h"
#include "wallpaper/bus/session_bus.h"
#include "wallpaper/core/deadline.h"
#include "wallpaper/core/wallpaper_plan.h"
#include "wallpaper/core/wallpaper_store.h"
#include "wallpaper/desktops/desktop_table.h"
#include "wallpaper/x11/x11_desktop_windows.h"
#include "wallpaper/x11/x11_root.h"

#include <functional>
#include <map>

namespace tidepool {

namespace {

// Makes and stores the pictures of one set at most once, whichever ways ask for them.
class PictureMaker {
  public:
    PictureMaker(const DrawingSurface& canvas, CodecLibrary& codec, const DesktopSession& session,
                 std::vector<Screen> screens, std::string screensError)
        : canvas_(canvas), codec_(codec), session_(session), screens_(std::move(screens)),
          screensError_(std::move(screensError)), folder_(WallpaperFolder(session.environment)) {}

    const std::vector<Screen>& screens() const { return screens_; }
    const DrawingSurface& canvas() const { return canvas_; }

    Pictures pictures(PictureSet set) {
        // One screen's picture is the one picture for all.
        if (screens_.size() == 1)
            set = PictureSet::OneForAll;
        auto made = made_.find(set);
        if (made == made_.end())
            made = made_.emplace(set, make(set)).first;
        return made->second;
    }

  private:
    Pictures make(PictureSet set) const {
        if (screens_.empty())
            return {{}, WayReason::NoScreens, screensError_};
        const WallpaperPlan plan = PlanPictures(screens_, set);
        if (!plan.error.empty())
            return {{}, WayReason::NoScreens, plan.error};
        if (!folder_.error.empty())
            return {{}, WayReason::CannotStore, folder_.error};
        StoredPictures stored = StorePictures(
            folder_.folder, plan.pictures.size(),
            [&](std::size_t i) {
                return CutFromTiling(canvas_, plan.pictures[i], plan.originX, plan.originY);
            },
            codec_, session_.now);
        if (!stored.ok())
            return {{}, WayReason::CannotStore, stored.error};
        return {std::move(stored.files), WayReason::None, ""};
    }

    const DrawingSurface& canvas_;
    CodecLibrary& codec_;
    const DesktopSession& session_;
    std::vector<Screen> screens_;
    std::string screensError_;
    FolderChoice folder_;
    std::map<PictureSet, Pictures> made_;
};

// The desktop and its own tool, as this session has them.
struct DesktopChoice {
    const DesktopRecord* desktop = nullptr; // null where none known is named
    std::string program;                    // the tool's program, empty where none is run
    bool toolThere = false;                 // the desktop is known and its tool can be run
    bool sandboxed = false;                 // in a Flatpak or Snap: portal first, no desktop tool

    // The desktop's own tool is the way, tried before the portal, which then stands in for it.
    bool toolFirst() const { return toolThere && !sandboxed; }
};

bool Sandboxed(const Environment& environment) {
    return !Lookup(environment, "FLATPAK_ID").empty() || !Lookup(environment, "SNAP").empty();
}

bool WaylandSession(const Environment& environment) {
    return !Lookup(environment, "WAYLAND_DISPLAY").empty() ||
           Lookup(environment, "XDG_SESSION_TYPE") == "wayland";
}

// The portal takes one picture and lets the desktop scale it, which only one screen shows
// unscaled; with several it stands in for a desktop's tool that cannot be used.
WayResult TryPortal(PictureMaker& maker, const DesktopChoice& choice, const DesktopSession& session,
                    const Deadline& deadline) {
    if (maker.screens().size() > 1 && choice.toolFirst())
        return {Way::Portal, false, WayReason::SeveralScreens, "", "", ""};
    if (!SessionBus(session.environment).isConnected())
        return {Way::Portal, false, WayReason::NoSessionBus, "", "", ""};
    const Pictures pictures = maker.pictures(PictureSet::OneForAll);
    if (!pictures.ok())
        return {Way::Portal, false, pictures.failure, "", pictures.error, ""};
    return ApplyThroughPortal(pictures.files.front(), session.environment, deadline,
                              session.answerLimit);
}

WayResult TryDesktopTool(PictureMaker& maker, const DesktopChoice& choice,
                         const DesktopSession& session, const Deadline& deadline) {
    const std::string named = Lookup(session.environment, "XDG_CURRENT_DESKTOP");
    if (named.empty())
        return {Way::DesktopTool, false, WayReason::NoDesktop, "", "", ""};
    if (choice.desktop == nullptr)
        return {Way::DesktopTool, false, WayReason::NoToolForDesktop, "", named, ""};
    // A tool run inside a sandbox is the sandbox's own copy, which sees the sandbox's settings
    // (gsettings inside a Flatpak writes a file of the application's) and would read them back as
    // taken while the desktop shows nothing new.
    if (choice.sandboxed)
        return {Way::DesktopTool, false, WayReason::Sandboxed, choice.program, "", ""};
    if (!choice.toolThere)
        return {Way::DesktopTool, false, WayReason::ToolMissing, choice.program, "", ""};
    const ToolRunner runner(session.environment, deadline);
    const DesktopContext context{
        maker.canvas(),      [&maker](PictureSet set) { return maker.pictures(set); },
        maker.screens(),     runner,
        session.environment, deadline};
    return choice.desktop->apply(context);
}

// The root window shows where nothing covers it: no compositor drawing its own background, no
// desktop program's window over it.
WayResult TryRootWindow(const DrawingSurface& canvas, const DesktopChoice& choice,
                        const DesktopSession& session) {
    if (choice.desktop != nullptr && choice.desktop->hidesRootWindow)
        return {Way::RootWindow,
                false,
                WayReason::DesktopDrawsItsOwn,
                "",
                std::string(choice.desktop->name),
                ""};
    if (WaylandSession(session.environment))
        return {Way::RootWindow, false, WayReason::WaylandSession, "", "", ""};
    const std::string display = Lookup(session.environment, "DISPLAY");
    if (display.empty())
        return {Way::RootWindow, false, WayReason::NoDisplay, "", "", ""};
    const auto windows = X11DesktopWindows(display);
    if (!windows)
        return {Way::RootWindow, false, WayReason::NoDisplay, "", display, ""};
    if (!windows->empty()) {
        const std::string& name = windows->front().instance;
        return {Way::RootWindow,
                false,
                WayReason::DesktopDrawsItsOwn,
                "",
                (name.empty() ? std::string("a desktop window") : name) + " covers the root window",
                ""};
    }
    WayResult result = ApplyToRootWindow(canvas, display);
    if (result.applied)
        result.checked += "; no desktop window covers the root window";
    return result;
}

// The screens the pictures are cut for: the desktop's own list where it keeps one and its tool is
// there to ask, else the toolkit's; why none are known in error.
std::vector<Screen> ScreensFor(const DesktopRecord* desktop, const ToolRunner& runner,
                               const DesktopSession& session, std::string& error) {
    error = session.screensError;
    if (desktop != nullptr && desktop->screens != nullptr && runner.has(desktop->program(1)))
        return desktop->screens(runner, error);
    return session.screens;
}

// The desktop named, and whether its tool for that many screens can be run here.
DesktopChoice ChooseDesktop(const DesktopRecord* desktop, std::size_t screens,
                            const ToolRunner& runner, const Environment& environment) {
    DesktopChoice choice;
    choice.desktop = desktop;
    choice.sandboxed = Sandboxed(environment);
    if (desktop != nullptr) {
        choice.program = desktop->program(static_cast<int>(screens));
        choice.toolThere = choice.program.empty() || runner.has(choice.program);
    }
    return choice;
}

// One way, run within the share of the application's time it is given.
struct TryWay {
    Way way;
    std::function<WayResult(const Deadline&)> run;
};

// Tries the ways in order until one puts the wallpaper on the desktop.
WallpaperReport TryInTurn(const std::vector<const TryWay*>& ways, const Deadline& deadline) {
    WallpaperReport report;
    for (const TryWay* way : ways) {
        // A way the ways before it left no time for is not started, and none once the program
        // is ending: it could not be finished.
        if (deadline.passed() || deadline.cutShort()) {
            report.tried.push_back({way->way, false, WayReason::NoAnswer, "",
                                    deadline.cutShort() ? "the program was ending"
                                                        : "the time limit was used up before it",
                                    ""});
            continue;
        }
        // A way that hangs (a portal whose backend never answers, a tool that waits for
        // something) must leave the ways after it time to work: a third of what is left, up to
        // a second and a half, is kept for them.
        const std::chrono::milliseconds left = deadline.remaining();
        const std::chrono::milliseconds kept =
            way == ways.back() ? std::chrono::milliseconds(0)
                               : std::min(left / 3, std::chrono::milliseconds(1500));
        report.tried.push_back(way->run(deadline.share(left - kept)));
        if (report.applied())
            break;
    }
    return report;
}

} // namespace

WallpaperReport ApplyWallpaper(const DrawingSurface& canvas, CodecLibrary& codec,
                               const DesktopSession& session) {
    const Deadline deadline(session.limit, session.cutoff);
    const ToolRunner runner(session.environment, deadline);
    const DesktopRecord* desktop = DesktopNamed(Lookup(session.environment, "XDG_CURRENT_DESKTOP"));
    std::string screensError;
    std::vector<Screen> screens = ScreensFor(desktop, runner, session, screensError);
    PictureMaker maker(canvas, codec, session, std::move(screens), std::move(screensError));
    const DesktopChoice choice =
        ChooseDesktop(desktop, maker.screens().size(), runner, session.environment);

    const TryWay portal{
        Way::Portal, [&](const Deadline& left) { return TryPortal(maker, choice, session, left); }};
    const TryWay tool{Way::DesktopTool, [&](const Deadline& left) {
                          return TryDesktopTool(maker, choice, session, left);
                      }};
    const TryWay root{Way::RootWindow,
                      [&](const Deadline&) { return TryRootWindow(canvas, choice, session); }};
    return TryInTurn(choice.toolFirst() ? std::vector{&tool, &portal, &root}
                                        : std::vector{&portal, &tool, &root},
                     deadline);
}

} // namespace tidepool
