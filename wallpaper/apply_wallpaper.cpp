#include "wallpaper/apply_wallpaper.h"

#include "wallpaper/desktop_kind.h"
#include "wallpaper/desktop_tools.h"
#include "wallpaper/portal_wallpaper.h"
#include "wallpaper/session_bus.h"
#include "wallpaper/wallpaper_plan.h"
#include "wallpaper/wallpaper_store.h"
#include "wallpaper/x11_root.h"

#include <array>
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

    // The stored files, or the way's result saying why there are none.
    const StoredPictures& pictures(PictureSet set, WayReason& reason) {
        // One screen's picture is the one picture for all.
        if (screens_.size() == 1)
            set = PictureSet::OneForAll;
        auto made = made_.find(set);
        if (made == made_.end())
            made = made_.emplace(set, make(set)).first;
        reason = made->second.reason;
        return made->second.stored;
    }

  private:
    struct Made {
        StoredPictures stored;
        WayReason reason = WayReason::None;
    };

    Made make(PictureSet set) const {
        if (screens_.empty())
            return {{{}, screensError_}, WayReason::NoScreens};
        const WallpaperPlan plan = PlanPictures(screens_, set);
        if (!plan.error.empty())
            return {{{}, plan.error}, WayReason::NoScreens};
        if (!folder_.error.empty())
            return {{{}, folder_.error}, WayReason::CannotStore};
        StoredPictures stored =
            StorePictures(folder_.folder, ComposePictures(canvas_, plan), codec_, session_.now);
        const WayReason reason = stored.ok() ? WayReason::None : WayReason::CannotStore;
        return {std::move(stored), reason};
    }

    const DrawingSurface& canvas_;
    CodecLibrary& codec_;
    const DesktopSession& session_;
    std::vector<Screen> screens_;
    std::string screensError_;
    FolderChoice folder_;
    std::map<PictureSet, Made> made_;
};

// The desktop and its own tool, as this session has them.
struct DesktopChoice {
    Desktop desktop = Desktop::None;
    std::string program;      // the tool's program, empty where none is run
    bool toolMissing = false; // the program is not on PATH
};

// 1. The portal takes one picture and lets the desktop scale it, which only one screen shows
// unscaled; with several it stands in for a desktop's tool that is missing.
WayResult TryPortal(PictureMaker& maker, const DesktopChoice& choice,
                    const DesktopSession& session) {
    const bool noTool =
        choice.desktop == Desktop::None || choice.desktop == Desktop::Unknown || choice.toolMissing;
    if (maker.screens().size() > 1 && !noTool)
        return {Way::Portal, false, WayReason::SeveralScreens, "", ""};
    if (!SessionBus(session.environment).isConnected())
        return {Way::Portal, false, WayReason::NoSessionBus, "", ""};
    WayReason reason;
    const StoredPictures& stored = maker.pictures(PictureSet::OneForAll, reason);
    if (!stored.ok())
        return {Way::Portal, false, reason, "", stored.error};
    return ApplyThroughPortal(stored.files.front(), session.environment, session.limit);
}

// 2. The desktop's own tool.
WayResult TryDesktopTool(PictureMaker& maker, const DesktopChoice& choice, const ToolRunner& runner,
                         const DesktopSession& session) {
    switch (choice.desktop) {
    case Desktop::None:
        return {Way::DesktopTool, false, WayReason::NoDesktop, "", ""};
    case Desktop::Unknown:
        return {Way::DesktopTool, false, WayReason::NoToolForDesktop, "",
                Lookup(session.environment, "XDG_CURRENT_DESKTOP")};
    default:
        break;
    }
    if (choice.toolMissing)
        return {Way::DesktopTool, false, WayReason::ToolMissing, choice.program, ""};
    const int screens = static_cast<int>(maker.screens().size());
    WayReason reason;
    const StoredPictures& stored = maker.pictures(DesktopPictures(choice.desktop, screens), reason);
    if (!stored.ok())
        return {Way::DesktopTool, false, reason, choice.program, stored.error};
    return ApplyWithDesktopTool(choice.desktop, stored.files, maker.screens(), runner,
                                session.environment, session.limit);
}

// 3. The root window, which a desktop covers with its own background.
WayResult TryRootWindow(const DrawingSurface& canvas, const DesktopChoice& choice,
                        const DesktopSession& session) {
    if (choice.desktop != Desktop::None)
        return {Way::RootWindow, false, WayReason::DesktopDrawsItsOwn, "",
                std::string(DesktopName(choice.desktop))};
    const std::string display = Lookup(session.environment, "DISPLAY");
    if (display.empty())
        return {Way::RootWindow, false, WayReason::NoDisplay, "", ""};
    return ApplyToRootWindow(canvas, display);
}

} // namespace

WallpaperReport ApplyWallpaper(const DrawingSurface& canvas, CodecLibrary& codec,
                               const DesktopSession& session) {
    DesktopChoice choice;
    choice.desktop = DesktopOf(Lookup(session.environment, "XDG_CURRENT_DESKTOP"));
    const ToolRunner runner(session.environment, session.limit);

    // sway tells its outputs' names, which its own tool needs, better than the toolkit does.
    std::vector<Screen> screens = session.screens;
    std::string screensError = session.screensError;
    if (choice.desktop == Desktop::Sway && runner.has("swaymsg"))
        screens = SwayScreens(runner, screensError);
    PictureMaker maker(canvas, codec, session, std::move(screens), std::move(screensError));
    choice.program = DesktopToolProgram(choice.desktop, static_cast<int>(maker.screens().size()));
    choice.toolMissing = !choice.program.empty() && !runner.has(choice.program);

    const std::array<std::function<WayResult()>, 3> ways{
        [&] { return TryPortal(maker, choice, session); },
        [&] { return TryDesktopTool(maker, choice, runner, session); },
        [&] { return TryRootWindow(canvas, choice, session); }};
    WallpaperReport report;
    for (const auto& way : ways) {
        report.tried.push_back(way());
        if (report.applied())
            break;
    }
    return report;
}

} // namespace tidepool
