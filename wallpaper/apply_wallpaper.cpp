#include "wallpaper/apply_wallpaper.h"

#include "wallpaper/desktop_kind.h"
#include "wallpaper/desktop_tools.h"
#include "wallpaper/portal_wallpaper.h"
#include "wallpaper/session_bus.h"
#include "wallpaper/wallpaper_plan.h"
#include "wallpaper/wallpaper_store.h"
#include "wallpaper/x11_root.h"

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

WayResult NotMade(Way way, WayReason reason, const StoredPictures& stored, std::string tool = "") {
    return {way, false, reason, std::move(tool), stored.error};
}

} // namespace

WallpaperReport ApplyWallpaper(const DrawingSurface& canvas, CodecLibrary& codec,
                               const DesktopSession& session) {
    const Environment& environment = session.environment;
    const Desktop desktop = DesktopOf(Lookup(environment, "XDG_CURRENT_DESKTOP"));
    const ToolRunner runner(environment, session.limit);

    // sway tells its outputs' names, which its own tool needs, better than the toolkit does.
    std::vector<Screen> screens = session.screens;
    std::string screensError = session.screensError;
    if (desktop == Desktop::Sway && runner.has("swaymsg"))
        screens = SwayScreens(runner, screensError);
    PictureMaker maker(canvas, codec, session, std::move(screens), std::move(screensError));
    const int screenCount = static_cast<int>(maker.screens().size());

    const std::string program = DesktopToolProgram(desktop, screenCount);
    const bool toolMissing = !program.empty() && !runner.has(program);
    const bool noTool = desktop == Desktop::None || desktop == Desktop::Unknown || toolMissing;

    WallpaperReport report;
    const auto tried = [&report](WayResult result) {
        report.tried.push_back(std::move(result));
        return report.applied();
    };

    // 1. The portal takes one picture and lets the desktop scale it, which only one screen shows
    // unscaled; with several it stands in for a missing tool.
    if (screenCount > 1 && !noTool) {
        tried({Way::Portal, false, WayReason::SeveralScreens, "", ""});
    } else if (!SessionBus(environment).isConnected()) {
        tried({Way::Portal, false, WayReason::NoSessionBus, "", ""});
    } else {
        WayReason reason;
        const StoredPictures& stored = maker.pictures(PictureSet::OneForAll, reason);
        if (!stored.ok()
                ? tried(NotMade(Way::Portal, reason, stored))
                : tried(ApplyThroughPortal(stored.files.front(), environment, session.limit)))
            return report;
    }

    // 2. The desktop's own tool.
    if (desktop == Desktop::None) {
        tried({Way::DesktopTool, false, WayReason::NoDesktop, "", ""});
    } else if (desktop == Desktop::Unknown) {
        tried({Way::DesktopTool, false, WayReason::NoToolForDesktop, "",
               Lookup(environment, "XDG_CURRENT_DESKTOP")});
    } else if (toolMissing) {
        tried({Way::DesktopTool, false, WayReason::ToolMissing, program, ""});
    } else {
        WayReason reason;
        const StoredPictures& stored =
            maker.pictures(DesktopPictures(desktop, screenCount), reason);
        if (!stored.ok() ? tried(NotMade(Way::DesktopTool, reason, stored, program))
                         : tried(ApplyWithDesktopTool(desktop, stored.files, maker.screens(),
                                                      runner, environment, session.limit)))
            return report;
    }

    // 3. The root window, which a desktop covers with its own background.
    const std::string display = Lookup(environment, "DISPLAY");
    if (desktop != Desktop::None)
        tried({Way::RootWindow, false, WayReason::DesktopDrawsItsOwn, "",
               std::string(DesktopName(desktop))});
    else if (display.empty())
        tried({Way::RootWindow, false, WayReason::NoDisplay, "", ""});
    else
        tried(ApplyToRootWindow(canvas, display));
    return report;
}

} // namespace tidepool
