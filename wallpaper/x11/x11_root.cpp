#include "wallpaper/x11/x11_root.h"

#include "wallpaper/core/desktop_tiling.h"
#include "wallpaper/x11/xcb_owned.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace tidepool {

namespace {

WayResult Refused(std::string detail) {
    return {Way::RootWindow, false, WayReason::DisplayRefused, "", std::move(detail), ""};
}

// How one channel of a plain colour goes into the server's pixel: its mask's place and width.
struct Channel {
    int shift = 0;
    int bits = 0;

    static Channel Of(std::uint32_t mask) { return {std::countr_zero(mask), std::popcount(mask)}; }
    std::uint32_t place(std::uint32_t value8) const {
        return bits >= 8 ? value8 << (shift + bits - 8) : (value8 >> (8 - bits)) << shift;
    }
};

// The root window's pixel layout, for the 32-bit TrueColor and DirectColor visuals every current
// X server offers at depth 24 and 32.
struct PixelLayout {
    Channel red, green, blue;
    bool msbFirst = false;

    std::uint32_t convert(Pixel pixel) const {
        const std::uint32_t value = red.place(pixel >> 16 & 0xFFu) |
                                    green.place(pixel >> 8 & 0xFFu) | blue.place(pixel & 0xFFu);
        return msbFirst ? __builtin_bswap32(value) : value;
    }
};

std::optional<PixelLayout> LayoutOf(const xcb_setup_t* setup, const xcb_screen_t* screen) {
    bool bits32 = false;
    for (auto format = xcb_setup_pixmap_formats_iterator(setup); format.rem;
         xcb_format_next(&format))
        if (format.data->depth == screen->root_depth)
            bits32 = format.data->bits_per_pixel == 32;
    if (!bits32)
        return std::nullopt;
    for (auto depth = xcb_screen_allowed_depths_iterator(screen); depth.rem;
         xcb_depth_next(&depth)) {
        for (auto visual = xcb_depth_visuals_iterator(depth.data); visual.rem;
             xcb_visualtype_next(&visual)) {
            const xcb_visualtype_t& type = *visual.data;
            if (type.visual_id != screen->root_visual)
                continue;
            if (type._class != XCB_VISUAL_CLASS_TRUE_COLOR &&
                type._class != XCB_VISUAL_CLASS_DIRECT_COLOR)
                return std::nullopt;
            return PixelLayout{Channel::Of(type.red_mask), Channel::Of(type.green_mask),
                               Channel::Of(type.blue_mask),
                               setup->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST};
        }
    }
    return std::nullopt;
}

// The pixmap a root property names, or none.
xcb_pixmap_t PixmapProperty(xcb_connection_t* connection, xcb_window_t root, xcb_atom_t property) {
    const auto reply = Owned(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, root, property, XCB_ATOM_PIXMAP, 0, 1),
        nullptr));
    if (!reply || reply->type != XCB_ATOM_PIXMAP || reply->format != 32 ||
        xcb_get_property_value_length(reply.get()) != 4)
        return XCB_NONE;
    return *static_cast<const xcb_pixmap_t*>(xcb_get_property_value(reply.get()));
}

// Sends the root window's part of the tiling in strips, each cut from the canvas as it goes and
// small enough for one request: a picture of the whole root window (66 MB for two 4K screens)
// is never held, which matters to a follower that lives as long as the session.
void PutTiling(xcb_connection_t* connection, xcb_pixmap_t pixmap, xcb_gcontext_t gc,
               const DrawingSurface& canvas, int width, int height, const PixelLayout& layout,
               std::uint8_t depth) {
    constexpr std::size_t kStripBytes = 1 << 20;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    const std::size_t largest = std::min<std::size_t>(
        kStripBytes, static_cast<std::size_t>(xcb_get_maximum_request_length(connection)) * 4);
    const int rowsPerStrip = static_cast<int>(std::max<std::size_t>(1, (largest - 64) / rowBytes));
    for (int top = 0; top < height; top += rowsPerStrip) {
        const int rows = std::min(rowsPerStrip, height - top);
        DrawingSurface strip = CutFromTiling(canvas, {0, top, width, rows}, 0, 0);
        Pixel* pixels = strip.pixels();
        const std::size_t count = static_cast<std::size_t>(rows) * static_cast<std::size_t>(width);
        std::transform(pixels, pixels + count, pixels,
                       [&layout](Pixel p) { return layout.convert(p); });
        xcb_put_image(
            connection, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc, static_cast<std::uint16_t>(width),
            static_cast<std::uint16_t>(rows), 0, static_cast<std::int16_t>(top), 0, depth,
            static_cast<std::uint32_t>(count * 4), reinterpret_cast<const std::uint8_t*>(pixels));
    }
}

const xcb_screen_t* ScreenNumbered(const xcb_setup_t* setup, int number) {
    auto screens = xcb_setup_roots_iterator(setup);
    for (int i = 0; i < number && screens.rem; ++i)
        xcb_screen_next(&screens);
    return screens.data;
}

// The root window's properties that name its picture: the one shown, and the one a root-setting
// program set, which only such programs write.
struct RootProperties {
    explicit RootProperties(xcb_connection_t* c)
        : shown(XcbAtom(c, "_XROOTPMAP_ID")), set(XcbAtom(c, "ESETROOT_PMAP_ID")) {}

    xcb_atom_t shown;
    xcb_atom_t set;
};

// A new pixmap of the root window's size with the tiling in it; none where the server refuses one.
xcb_pixmap_t TilingPixmap(xcb_connection_t* c, const xcb_screen_t& screen,
                          const DrawingSurface& canvas, const PixelLayout& layout) {
    const xcb_pixmap_t pixmap = xcb_generate_id(c);
    if (auto error = Owned(xcb_request_check(
            c, xcb_create_pixmap_checked(c, screen.root_depth, pixmap, screen.root,
                                         screen.width_in_pixels, screen.height_in_pixels))))
        return XCB_NONE;
    const xcb_gcontext_t gc = xcb_generate_id(c);
    xcb_create_gc(c, gc, pixmap, 0, nullptr);
    PutTiling(c, pixmap, gc, canvas, screen.width_in_pixels, screen.height_in_pixels, layout,
              screen.root_depth);
    xcb_free_gc(c, gc);
    return pixmap;
}

// Makes the pixmap the root window's background, named by both properties, and keeps it after this
// connection closes.
void ShowOnRoot(xcb_connection_t* c, xcb_window_t root, xcb_pixmap_t pixmap,
                const RootProperties& properties) {
    const xcb_pixmap_t previous = PixmapProperty(c, root, properties.set);
    const xcb_pixmap_t shown = PixmapProperty(c, root, properties.shown);

    const std::uint32_t background[] = {pixmap};
    xcb_change_window_attributes(c, root, XCB_CW_BACK_PIXMAP, background);
    xcb_clear_area(c, 0, root, 0, 0, 0, 0);
    for (const xcb_atom_t property : {properties.shown, properties.set})
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, root, property, XCB_ATOM_PIXMAP, 32, 1,
                            &pixmap);
    // As the classic root-setters do: the picture one of them left behind, kept for it by the
    // server, goes with that client only when both properties name it. An id another program
    // left stale names nothing any more, and its refusal says nothing about this picture.
    if (previous != XCB_NONE && previous == shown)
        std::free(xcb_request_check(c, xcb_kill_client_checked(c, previous)));
    xcb_set_close_down_mode(c, XCB_CLOSE_DOWN_RETAIN_PERMANENT);
}

// Why the server refused a request sent so far, after a round trip, so that every request has been
// carried out and any refusal has arrived; empty where it refused none.
std::string Refusal(xcb_connection_t* c) {
    const auto sync = Owned(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    while (const auto event = Owned(xcb_poll_for_event(c)))
        if (event->response_type == 0)
            return "X error " +
                   std::to_string(
                       reinterpret_cast<const xcb_generic_error_t*>(event.get())->error_code);
    return sync ? std::string() : "the connection broke";
}

} // namespace

bool RootPictureReplaced(const std::string& display) {
    int screenNumber = 0;
    const XcbConnection connection(
        xcb_connect(display.empty() ? nullptr : display.c_str(), &screenNumber));
    if (xcb_connection_has_error(connection.get()))
        return false;
    xcb_connection_t* c = connection.get();
    const xcb_window_t root = ScreenNumbered(xcb_get_setup(c), screenNumber)->root;
    const xcb_pixmap_t ours = PixmapProperty(c, root, XcbAtom(c, "ESETROOT_PMAP_ID"));
    if (ours == XCB_NONE || PixmapProperty(c, root, XcbAtom(c, "_XROOTPMAP_ID")) == ours)
        return false;
    std::free(xcb_request_check(c, xcb_kill_client_checked(c, ours)));
    return true;
}

bool X11DisplayAnswers(const std::string& display) {
    const XcbConnection connection(xcb_connect(display.c_str(), nullptr));
    return xcb_connection_has_error(connection.get()) == 0;
}

WayResult ApplyToRootWindow(const DrawingSurface& canvas, const std::string& display) {
    int screenNumber = 0;
    XcbConnection connection(
        xcb_connect(display.empty() ? nullptr : display.c_str(), &screenNumber));
    if (xcb_connection_has_error(connection.get()))
        return {Way::RootWindow, false, WayReason::NoDisplay, "", display, ""};
    xcb_connection_t* c = connection.get();
    const xcb_setup_t* setup = xcb_get_setup(c);
    const xcb_screen_t* screen = ScreenNumbered(setup, screenNumber);
    const int width = screen->width_in_pixels;
    const int height = screen->height_in_pixels;
    if (std::string error = PictureSizeError(width, height); !error.empty())
        return {Way::RootWindow, false, WayReason::NoScreens, "", std::move(error), ""};
    const std::optional<PixelLayout> layout = LayoutOf(setup, screen);
    if (!layout)
        return Refused("no 32-bit true-colour visual at the root window's depth");

    const xcb_pixmap_t pixmap = TilingPixmap(c, *screen, canvas, *layout);
    if (pixmap == XCB_NONE)
        return Refused("cannot make a pixmap of " + std::to_string(width) + " x " +
                       std::to_string(height));
    const RootProperties properties(c);
    ShowOnRoot(c, screen->root, pixmap, properties);
    if (std::string refusal = Refusal(c); !refusal.empty())
        return Refused(std::move(refusal));
    if (PixmapProperty(c, screen->root, properties.shown) != pixmap ||
        PixmapProperty(c, screen->root, properties.set) != pixmap) {
        // No later application frees a picture the two properties do not both name: the server
        // would keep it until the session ends. The root window shows it until it gets another.
        std::free(xcb_request_check(c, xcb_free_pixmap_checked(c, pixmap)));
        return Refused("the root window's properties do not name the new picture");
    }
    return {Way::RootWindow,
            true,
            WayReason::None,
            "",
            "",
            "_XROOTPMAP_ID and ESETROOT_PMAP_ID read back"};
}

} // namespace tidepool
