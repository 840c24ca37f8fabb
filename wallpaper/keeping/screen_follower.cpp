#include "wallpaper/keeping/screen_follower.h"

#include <QGuiApplication>
#include <QScreen>

namespace tidepool {

ChangeGatherer::ChangeGatherer(std::chrono::milliseconds quiet, std::chrono::milliseconds longest,
                               QObject* parent)
    : QObject(parent) {
    for (QTimer* timer : {&quiet_, &longest_}) {
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this, &ChangeGatherer::settle);
    }
    quiet_.setInterval(quiet);
    longest_.setInterval(longest);
}

void ChangeGatherer::noteChange() {
    quiet_.start();
    if (!longest_.isActive())
        longest_.start();
}

void ChangeGatherer::settle() {
    quiet_.stop();
    longest_.stop();
    emit settled();
}

ScreenFollower::ScreenFollower(Layout layout, std::chrono::milliseconds quiet,
                               std::chrono::milliseconds longest, QObject* parent)
    : QObject(parent), layout_(std::move(layout)), gatherer_(quiet, longest) {
    connect(&gatherer_, &ChangeGatherer::settled, this, &ScreenFollower::compare);
}

void ScreenFollower::watch(QGuiApplication& application) {
    connect(&application, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
        watchScreen(screen);
        noteChange();
    });
    connect(&application, &QGuiApplication::screenRemoved, this, &ScreenFollower::noteChange);
    connect(&application, &QGuiApplication::primaryScreenChanged, this,
            &ScreenFollower::noteChange);
    for (QScreen* screen : QGuiApplication::screens())
        watchScreen(screen);
}

void ScreenFollower::watchScreen(QScreen* screen) {
    connect(screen, &QScreen::geometryChanged, this, &ScreenFollower::noteChange);
    connect(screen, &QScreen::logicalDotsPerInchChanged, this, &ScreenFollower::noteChange);
    connect(screen, &QScreen::physicalDotsPerInchChanged, this, &ScreenFollower::noteChange);
    connect(screen, &QScreen::orientationChanged, this, &ScreenFollower::noteChange);
}

void ScreenFollower::compare() {
    std::vector<Screen> now = layout_();
    if (now == screens_)
        return;
    screens_ = std::move(now);
    emit layoutChanged();
}

} // namespace tidepool
