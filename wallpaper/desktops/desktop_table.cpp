#include "wallpaper/desktops/desktop_table.h"

#include "wallpaper/desktops/desktop_ways.h"

#include <algorithm>
#include <cctype>

namespace tidepool {

namespace {

std::string Gsettings(int) {
    return "gsettings";
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

} // namespace

const std::vector<DesktopRecord>& KnownDesktops() {
    static const std::vector<DesktopRecord> kDesktops{
        {"GNOME",
         {"gnome", "gnome-classic", "gnome-flashback", "unity"},
         Gsettings,
         nullptr,
         ApplyOnGnome,
         true},
        {"Cinnamon", {"x-cinnamon", "cinnamon"}, Gsettings, nullptr, ApplyOnCinnamon, true},
        {"MATE", {"mate"}, Gsettings, nullptr, ApplyOnMate, false},
        {"Xfce",
         {"xfce"},
         [](int) -> std::string { return "xfconf-query"; },
         nullptr,
         ApplyOnXfce,
         false},
        {"KDE Plasma", {"kde"}, [](int) { return std::string(); }, nullptr, ApplyOnPlasma, true},
        {"LXQt",
         {"lxqt"},
         [](int) -> std::string { return "pcmanfm-qt"; },
         nullptr,
         ApplyOnLxqt,
         false},
        {"sway",
         {"sway"},
         [](int) -> std::string { return "swaymsg"; },
         SwayScreens,
         ApplyOnSway,
         true},
    };
    return kDesktops;
}

const DesktopRecord* DesktopNamed(std::string_view currentDesktop) {
    while (!currentDesktop.empty()) {
        const std::size_t colon = currentDesktop.find(':');
        const std::string name = Lower(currentDesktop.substr(0, colon));
        for (const DesktopRecord& desktop : KnownDesktops())
            if (std::find(desktop.called.begin(), desktop.called.end(), name) !=
                desktop.called.end())
                return &desktop;
        if (colon == std::string_view::npos)
            break;
        currentDesktop.remove_prefix(colon + 1);
    }
    return nullptr;
}

} // namespace tidepool
