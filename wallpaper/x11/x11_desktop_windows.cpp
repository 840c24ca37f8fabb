#include "wallpaper/x11/x11_desktop_windows.h"

#include "wallpaper/x11/xcb_owned.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace tidepool {

namespace {

// The values of a 32-bit list property (atoms, windows), empty when it is not there.
std::vector<std::uint32_t> ListProperty(xcb_connection_t* c, xcb_window_t window,
                                        xcb_atom_t property, xcb_atom_t type) {
    const auto reply = Owned(xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, property, type, 0, 1024), nullptr));
    if (!reply || reply->format != 32)
        return {};
    const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

std::optional<DesktopWindow> AsDesktopWindow(xcb_connection_t* c, xcb_window_t root,
                                             xcb_window_t window, xcb_atom_t windowType,
                                             xcb_atom_t desktopType) {
    const auto attributes =
        Owned(xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr));
    if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE)
        return std::nullopt;
    const std::vector<std::uint32_t> types = ListProperty(c, window, windowType, XCB_ATOM_ATOM);
    if (std::find(types.begin(), types.end(), desktopType) == types.end())
        return std::nullopt;
    DesktopWindow found;
    const auto geometry = Owned(xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr));
    const auto place = Owned(xcb_translate_coordinates_reply(
        c, xcb_translate_coordinates(c, window, root, 0, 0), nullptr));
    if (geometry && place)
        found.area = {place->dst_x, place->dst_y, geometry->width, geometry->height};
    const auto wmClass = Owned(xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 256), nullptr));
    if (wmClass && wmClass->format == 8) {
        const char* text = static_cast<const char*>(xcb_get_property_value(wmClass.get()));
        const std::string both(
            text, static_cast<std::size_t>(xcb_get_property_value_length(wmClass.get())));
        found.instance = both.substr(0, both.find('\0'));
        if (const std::size_t zero = both.find('\0'); zero != std::string::npos)
            found.className = std::string(both.c_str() + zero + 1);
    }
    return found;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// A desktop window answers to its program's name as its instance or its class, in any case.
bool IsNamed(const DesktopWindow& window, std::string_view name) {
    return SameName(window.instance, name) || SameName(window.className, name);
}

} // namespace

std::optional<std::vector<DesktopWindow>> X11DesktopWindows(const std::string& display) {
    int screenNumber = 0;
    const XcbConnection connection(
        xcb_connect(display.empty() ? nullptr : display.c_str(), &screenNumber));
    xcb_connection_t* c = connection.get();
    if (xcb_connection_has_error(c))
        return std::nullopt;
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    const xcb_window_t root = screens.data->root;

    // A window manager may have put a desktop window into a frame of its own; it still lists it.
    std::set<xcb_window_t> candidates;
    if (const auto tree = Owned(xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr))) {
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        candidates.insert(children, children + xcb_query_tree_children_length(tree.get()));
    }
    for (const std::uint32_t client :
         ListProperty(c, root, XcbAtom(c, "_NET_CLIENT_LIST"), XCB_ATOM_WINDOW))
        candidates.insert(client);

    const xcb_atom_t windowType = XcbAtom(c, "_NET_WM_WINDOW_TYPE");
    const xcb_atom_t desktopType = XcbAtom(c, "_NET_WM_WINDOW_TYPE_DESKTOP");
    std::vector<DesktopWindow> windows;
    for (const xcb_window_t window : candidates)
        if (auto found = AsDesktopWindow(c, root, window, windowType, desktopType))
            windows.push_back(std::move(*found));
    return windows;
}

bool HasDesktopWindow(const std::vector<DesktopWindow>& windows, std::string_view name) {
    return std::any_of(windows.begin(), windows.end(),
                       [name](const DesktopWindow& window) { return IsNamed(window, name); });
}

bool DesktopWindowsCover(const std::vector<DesktopWindow>& windows, std::string_view name,
                         const std::vector<Screen>& screens) {
    return std::all_of(screens.begin(), screens.end(), [&](const Screen& screen) {
        const DeviceRect s = DeviceArea(screen);
        return std::any_of(windows.begin(), windows.end(), [&](const DesktopWindow& window) {
            const DeviceRect& w = window.area;
            return IsNamed(window, name) && w.x <= s.x && w.y <= s.y &&
                   s.x + s.width <= w.x + w.width && s.y + s.height <= w.y + w.height;
        });
    });
}

bool DesktopWindowShown(const std::string& display, std::string_view name) {
    const auto windows = X11DesktopWindows(display);
    return windows && HasDesktopWindow(*windows, name);
}

} // namespace tidepool
