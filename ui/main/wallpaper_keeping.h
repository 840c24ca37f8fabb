#pragma once

#include "wallpaper/core/deadline.h"
#include "wallpaper/core/wallpaper_report.h"
#include "wallpaper/keeping/keep_wallpaper.h"
#include "wallpaper/keeping/wallpaper_recipe.h"

#include <QFutureWatcher>
#include <QObject>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class QAction;
class QMenuBar;

namespace tidepool {

// What remembering and keeping the wallpaper asks of the desktop. The program's work on the
// user's files and processes; tests answer them. Each but kept may take a while: run them off
// the window's thread.
struct WallpaperMemory {
    // Saves the recipe of what was just put on the desktop; empty, or why it could not be.
    std::function<std::string(const WallpaperRecipe& recipe)> remember;
    // Keeps the wallpaper: the autostart entry, and a follower now.
    std::function<KeepReport(std::shared_ptr<const Cutoff> cutoff)> keep;
    // Keeps it no longer: the entry removed, the followers ended.
    std::function<KeepReport(std::shared_ptr<const Cutoff> cutoff)> forget;
    // Whether it is kept.
    std::function<bool()> kept;
};
// The desktop's, with tidepool-render from programFolder as the follower.
WallpaperMemory DesktopWallpaperMemory(const std::filesystem::path& programFolder);

// How one application from the window went: the report, and after it had put the wallpaper on
// the desktop, whether its recipe was saved and, when asked, whether it is kept.
struct WallpaperOutcome {
    WallpaperReport report;
    bool keepAsked = false;
    std::string notRemembered; // why the recipe was not saved, empty when it was
    std::optional<KeepReport> kept;
};

// The worker's part after an application: saves the recipe, and keeps the wallpaper when asked.
WallpaperOutcome RememberApplication(WallpaperReport report, const WallpaperMemory& memory,
                                     const WallpaperRecipe& recipe, bool keep,
                                     std::shared_ptr<const Cutoff> cutoff);

// "壁紙を保つ(&K)", beside "壁紙に設定(&W)" in the menu bar: checked, it has the window put the
// wallpaper on the desktop as that command does and keep it there; unchecked, it forgets it. Its
// check shows whether the wallpaper is kept (its autostart entry is there), as read when the
// window opens and after every change; its caption shows it too, since a menu bar draws no check
// marks. Reading,
// keeping and forgetting all run off the window's thread, the command disabled meanwhile.
class KeepWallpaperCommand : public QObject {
    Q_OBJECT

  public:
    // applyAndKeep starts the window's application with keeping asked for, and says whether it
    // started; showMessage shows a failure.
    KeepWallpaperCommand(QMenuBar* bar, WallpaperMemory memory, std::function<bool()> applyAndKeep,
                         std::function<void(std::string_view text)> showMessage,
                         QObject* parent = nullptr);

    const WallpaperMemory& memory() const { return memory_; }
    // How wide the menu bar must be to show every command whole, whichever caption this shows.
    int menuBarWidth() const;
    // The window's application has ended; an outcome of keeping shows in the check.
    void applicationFinished(const WallpaperOutcome& outcome);
    // Ends a forgetting still running soon, as the window closes.
    void endSoon(std::chrono::milliseconds within);

  private:
    void triggered(bool checked);
    void forgetFinished();
    void show(bool kept);

    QAction* action_ = nullptr;
    WallpaperMemory memory_;
    std::function<bool()> applyAndKeep_;
    std::function<void(std::string_view)> showMessage_;
    QFutureWatcher<bool>* reading_ = nullptr;
    QFutureWatcher<KeepReport>* forgetting_ = nullptr;
    std::shared_ptr<Cutoff> cutoff_ = std::make_shared<Cutoff>();
};

} // namespace tidepool
