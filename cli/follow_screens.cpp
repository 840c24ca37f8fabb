#include "cli/follow_screens.h"

#include "cli/exit_status.h"
#include "cli/quit_on_signal.h"
#include "cli/run_render.h"
#include "cli/saved_wallpaper.h"
#include "wallpaper/core/qt_screens.h"
#include "wallpaper/core/user_folders.h"
#include "wallpaper/keeping/follower_lock.h"
#include "wallpaper/keeping/screen_follower.h"

#include <QGuiApplication>
#include <QTimer>

#include <csignal>
#include <malloc.h>
#include <sstream>
#include <unistd.h>

namespace tidepool::cli {

namespace {

using namespace std::chrono_literals;

constexpr std::string_view kPrefix = "tidepool-render: ";

// A burst of changes (an output switched on brings its mode, its place and the others' places
// one after another) is over when nothing has come for a quarter second; changes that keep
// coming are answered at least once a second.
constexpr std::chrono::milliseconds kQuiet = 250ms;
constexpr std::chrono::milliseconds kLongest = 1000ms;
// After a failed application (at login the desktop may not be up yet): again after 2, 4, 8, 16
// and 32 seconds, then not until the screens change.
constexpr std::chrono::milliseconds kFirstRetry = 2s;
constexpr int kRetries = 5;

std::string Describe(const std::vector<Screen>& screens) {
    std::ostringstream text;
    text << screens.size() << (screens.size() == 1 ? " screen" : " screens");
    for (const Screen& screen : screens) {
        text << ", " << screen.name << " " << screen.width << "x" << screen.height << "+"
             << screen.x << "+" << screen.y;
        if (screen.scale != 1)
            text << " at scale " << screen.scale;
    }
    return text.str();
}

class Follower : public QObject {
  public:
    Follower(DesktopConnection& desktop, CodecLibrary& codec, const RenderRequest& options,
             std::ostream& out, std::ostream& err)
        : desktop_(desktop), codec_(codec), seconds_(options.wallpaperSeconds), out_(out),
          err_(err), screens_(DesktopScreens, kQuiet, kLongest) {
        retry_.setSingleShot(true);
        connect(&retry_, &QTimer::timeout, this, [this] { apply("trying again"); });
        connect(&screens_, &ScreenFollower::layoutChanged, this, [this] {
            retries_ = 0;
            apply("the screens changed");
        });
        screens_.watch(*qobject_cast<QGuiApplication*>(QCoreApplication::instance()));
    }

    void start() {
        screens_.takeCurrentLayout();
        apply("started");
    }

  private:
    void apply(std::string_view why) {
        const QuitOnSignal::Busy busy;
        retry_.stop();
        out_ << kPrefix << why << ": " << Describe(screens_.screens()) << std::endl;
        SavedRequest saved = LoadSavedRequest(desktop_.session.environment);
        if (!saved.request) {
            err_ << kPrefix << saved.error << std::endl;
            return;
        }
        saved.request->wallpaperSeconds = seconds_;
        bool applied = false;
        RunRender(*saved.request, out_, err_, codec_, [&](const DrawingSurface& canvas) {
            DesktopSession session = desktop_.session;
            session.screens = screens_.screens();
            session.limit = std::chrono::milliseconds(static_cast<long long>(seconds_ * 1000));
            const WallpaperReport report = ApplyWallpaper(canvas, codec_, session);
            applied = report.applied();
            return report;
        });
        out_.flush();
        // The pictures of a large desktop are gone once written; give their memory back to the
        // system rather than keep it for the next change.
        malloc_trim(0);
        if (!applied && retries_ < kRetries)
            retry_.start(kFirstRetry * (1 << retries_++));
    }

    DesktopConnection& desktop_;
    CodecLibrary& codec_;
    double seconds_;
    std::ostream& out_;
    std::ostream& err_;
    ScreenFollower screens_;
    QTimer retry_;
    int retries_ = 0;
};

} // namespace

int FollowScreens(DesktopConnection& desktop, CodecLibrary& codec, const RenderRequest& options,
                  std::ostream& out, std::ostream& err) {
    if (qobject_cast<QGuiApplication*>(desktop.application.get()) == nullptr) {
        err << kPrefix << "--follow-screens needs a display: " << desktop.session.screensError
            << '\n';
        return kExitNotApplied;
    }
    const Environment& environment = desktop.session.environment;
    const std::string display = SessionDisplay(environment);
    const FolderChoice folder = FollowerFolder(environment);
    if (!folder.error.empty()) {
        err << kPrefix << folder.error << " to keep the follower's lock in\n";
        return kExitNotApplied;
    }
    const FollowerLock lock(FollowerLockFile(folder.folder, display));
    if (!lock.held()) {
        if (!lock.holder()) {
            err << kPrefix << lock.error() << '\n';
            return kExitNotApplied;
        }
        out << kPrefix << "a follower already keeps the wallpaper on display " << display
            << " (process " << *lock.holder() << "); this one ends\n";
        return kExitSuccess;
    }
    // Its output may go to a pipe nobody reads any more; a line it cannot write is lost, not the
    // follower.
    std::signal(SIGPIPE, SIG_IGN);
    const QuitOnSignal quit;
    out << kPrefix << "following the screens of display " << display << " (process " << ::getpid()
        << ")" << std::endl;
    Follower follower(desktop, codec, options, out, err);
    follower.start();
    QCoreApplication::exec();
    out << kPrefix << "stopped following the screens (signal " << quit.received() << ")"
        << std::endl;
    return kExitSuccess;
}

} // namespace tidepool::cli
