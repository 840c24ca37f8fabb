#pragma once

#include "wallpaper/core/desktop_tiling.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>
#include <vector>

class QGuiApplication;
class QScreen;

namespace tidepool {

// Gathers a burst of changes into one: settled() comes once no change has come for the quiet
// time, or, for changes that keep coming, the longest time after the first of them. Uses no
// processor time between bursts: two single-shot timers, stopped when idle.
class ChangeGatherer : public QObject {
    Q_OBJECT

  public:
    ChangeGatherer(std::chrono::milliseconds quiet, std::chrono::milliseconds longest,
                   QObject* parent = nullptr);

    void noteChange();

  signals:
    void settled();

  private:
    void settle();

    QTimer quiet_;
    QTimer longest_;
};

// Follows the screens through Qt's signals (a screen added or removed, the primary one changed,
// a screen's place, size, scale or orientation changed), which the window system sends on X11
// and Wayland alike, and says layoutChanged() once a burst of them has settled into a layout
// other than the last one it reported. So a desktop redrawing its background, which changes no
// screen, never leads to another application, and one change is never reported twice.
class ScreenFollower : public QObject {
    Q_OBJECT

  public:
    // The screens as they are now; DesktopScreens() in the program.
    using Layout = std::function<std::vector<Screen>()>;

    ScreenFollower(Layout layout, std::chrono::milliseconds quiet,
                   std::chrono::milliseconds longest, QObject* parent = nullptr);

    // Listens to the application's screens, and to each screen that comes later.
    void watch(QGuiApplication& application);
    // The layout last reported, or taken as the start.
    const std::vector<Screen>& screens() const { return screens_; }
    // Takes the layout now as the one the wallpaper was last put on.
    void takeCurrentLayout() { screens_ = layout_(); }

    void noteChange() { gatherer_.noteChange(); }

  signals:
    void layoutChanged();

  private:
    void watchScreen(QScreen* screen);
    void compare();

    Layout layout_;
    ChangeGatherer gatherer_;
    std::vector<Screen> screens_;
};

} // namespace tidepool
