#include "wallpaper/desktop_kind.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

namespace tidepool {

namespace {

struct KnownName {
    std::string_view name; // in lower case
    Desktop desktop;
};

constexpr std::array<KnownName, 11> kKnownNames{{
    {"gnome", Desktop::Gnome},
    {"gnome-classic", Desktop::Gnome},
    {"gnome-flashback", Desktop::Gnome},
    {"unity", Desktop::Gnome},
    {"x-cinnamon", Desktop::Cinnamon},
    {"cinnamon", Desktop::Cinnamon},
    {"mate", Desktop::Mate},
    {"xfce", Desktop::Xfce},
    {"kde", Desktop::Kde},
    {"lxqt", Desktop::Lxqt},
    {"sway", Desktop::Sway},
}};

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

} // namespace

Desktop DesktopOf(std::string_view currentDesktop) {
    if (currentDesktop.empty())
        return Desktop::None;
    while (!currentDesktop.empty()) {
        const std::size_t colon = currentDesktop.find(':');
        const std::string name = Lower(currentDesktop.substr(0, colon));
        for (const KnownName& known : kKnownNames)
            if (name == known.name)
                return known.desktop;
        if (colon == std::string_view::npos)
            break;
        currentDesktop.remove_prefix(colon + 1);
    }
    return Desktop::Unknown;
}

std::string_view DesktopName(Desktop desktop) {
    switch (desktop) {
    case Desktop::None:
        return "no desktop";
    case Desktop::Unknown:
        return "this desktop";
    case Desktop::Gnome:
        return "GNOME";
    case Desktop::Cinnamon:
        return "Cinnamon";
    case Desktop::Mate:
        return "MATE";
    case Desktop::Xfce:
        return "Xfce";
    case Desktop::Kde:
        return "KDE Plasma";
    case Desktop::Lxqt:
        return "LXQt";
    case Desktop::Sway:
        return "sway";
    }
    return "this desktop";
}

} // namespace tidepool
