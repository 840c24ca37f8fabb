// The X11 root window way, on the X server the test is run under (xvfb-run): the picture is read
// back from the server and compared pixel for pixel.
#include "wallpaper/core/desktop_tiling.h"
#include "wallpaper/x11/x11_root.h"
#include "wallpaper/x11/xcb_owned.h"

#include <xcb/xcb.h>

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace tidepool {
namespace {

// The root property this process's writes leave out, as a program deleting it at once would.
xcb_atom_t lostProperty = XCB_NONE;

} // namespace
} // namespace tidepool

// Every property this process writes goes through here, so that a case can lose one.
extern "C" xcb_void_cookie_t xcb_change_property(xcb_connection_t* c, uint8_t mode,
                                                 xcb_window_t window, xcb_atom_t property,
                                                 xcb_atom_t type, uint8_t format, uint32_t length,
                                                 const void* data) {
    if (property == tidepool::lostProperty)
        return xcb_delete_property(c, window, property);
    static const auto write =
        reinterpret_cast<decltype(&xcb_change_property)>(dlsym(RTLD_NEXT, "xcb_change_property"));
    return write(c, mode, window, property, type, format, length, data);
}

namespace tidepool {
namespace {

class RootWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr)
            GTEST_FAIL() << "run under an X server (xvfb-run); DISPLAY is not set";
        connection.reset(xcb_connect(nullptr, nullptr));
        ASSERT_FALSE(xcb_connection_has_error(connection.get()));
        screen = xcb_setup_roots_iterator(xcb_get_setup(connection.get())).data;
        for (int i = 0; i < canvas.width() * canvas.height(); ++i)
            canvas.pixels()[i] = 0xFF000000u | static_cast<Pixel>(i * 2654435761u & 0xFFFFFFu);
    }

    xcb_pixmap_t RootPixmap(const char* property) {
        xcb_connection_t* c = connection.get();
        const auto atom = Owned(xcb_intern_atom_reply(
            c, xcb_intern_atom(c, 1, static_cast<std::uint16_t>(std::strlen(property)), property),
            nullptr));
        const auto reply = Owned(xcb_get_property_reply(
            c, xcb_get_property(c, 0, screen->root, atom->atom, XCB_ATOM_PIXMAP, 0, 1), nullptr));
        if (!reply || xcb_get_property_value_length(reply.get()) != 4)
            return XCB_NONE;
        return *static_cast<const xcb_pixmap_t*>(xcb_get_property_value(reply.get()));
    }

    xcb_atom_t Atom(const char* name) { return XcbAtom(connection.get(), name); }

    // Sets a root property to name the pixmap, or removes it for XCB_NONE.
    void NamePixmap(const char* property, xcb_pixmap_t pixmap) {
        xcb_connection_t* c = connection.get();
        if (pixmap == XCB_NONE)
            xcb_delete_property(c, screen->root, Atom(property));
        else
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, screen->root, Atom(property),
                                XCB_ATOM_PIXMAP, 32, 1, &pixmap);
        std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    }

    // A pixmap another root-setter left behind: kept by the server after its client went.
    xcb_pixmap_t LeftBehindPixmap() {
        const XcbConnection other(xcb_connect(nullptr, nullptr));
        xcb_connection_t* c = other.get();
        const xcb_pixmap_t pixmap = xcb_generate_id(c);
        xcb_create_pixmap(c, screen->root_depth, pixmap, screen->root, 8, 8);
        xcb_set_close_down_mode(c, XCB_CLOSE_DOWN_RETAIN_PERMANENT);
        std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
        return pixmap;
    }

    bool Exists(xcb_pixmap_t pixmap) {
        xcb_generic_error_t* error = nullptr;
        const auto geometry = Owned(xcb_get_geometry_reply(
            connection.get(), xcb_get_geometry(connection.get(), pixmap), &error));
        std::free(error);
        return geometry != nullptr;
    }

    XcbConnection connection;
    const xcb_screen_t* screen = nullptr;
    DrawingSurface canvas{37, 23};
};

TEST_F(RootWindowTest, ShowsTheCanvasTiledOverTheWholeRootWindow) {
    const WayResult result = ApplyToRootWindow(canvas, "");
    ASSERT_TRUE(result.applied) << result.detail;
    const xcb_pixmap_t pixmap = RootPixmap("_XROOTPMAP_ID");
    ASSERT_NE(pixmap, XCB_NONE);
    EXPECT_EQ(RootPixmap("ESETROOT_PMAP_ID"), pixmap);

    const int width = screen->width_in_pixels, height = screen->height_in_pixels;
    const auto image = Owned(xcb_get_image_reply(
        connection.get(),
        xcb_get_image(connection.get(), XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, 0, 0,
                      static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), ~0u),
        nullptr));
    ASSERT_TRUE(image);
    const auto* shown = reinterpret_cast<const std::uint32_t*>(xcb_get_image_data(image.get()));
    const DrawingSurface expected = CutFromTiling(canvas, {0, 0, width, height}, 0, 0);
    int wrong = 0;
    for (int i = 0; i < width * height; ++i)
        wrong += (shown[i] & 0xFFFFFFu) != (expected.pixels()[i] & 0xFFFFFFu);
    EXPECT_EQ(wrong, 0) << "of " << width * height << " pixels";
}

// A second application frees the first one's picture, which the server had kept for it.
TEST_F(RootWindowTest, FreesThePicturePutThereBefore) {
    ASSERT_TRUE(ApplyToRootWindow(canvas, "").applied);
    const xcb_pixmap_t first = RootPixmap("_XROOTPMAP_ID");
    ASSERT_TRUE(Exists(first));
    ASSERT_TRUE(ApplyToRootWindow(canvas, "").applied);
    const xcb_pixmap_t second = RootPixmap("_XROOTPMAP_ID");
    EXPECT_NE(second, first);
    EXPECT_TRUE(Exists(second));
    EXPECT_FALSE(Exists(first));
}

// An id another program left in the properties names nothing any more: it is passed over, and the
// root is set all the same.
TEST_F(RootWindowTest, IgnoresAStaleIdLeftByAnotherProgram) {
    const xcb_pixmap_t stale = LeftBehindPixmap();
    xcb_free_pixmap(connection.get(), stale);
    NamePixmap("_XROOTPMAP_ID", stale);
    NamePixmap("ESETROOT_PMAP_ID", stale);
    const WayResult result = ApplyToRootWindow(canvas, "");
    EXPECT_TRUE(result.applied) << result.detail;
    EXPECT_NE(RootPixmap("_XROOTPMAP_ID"), stale);
}

// As the classic root-setters do, the picture left behind is freed only when both properties
// name it: another program may still show the one ESETROOT_PMAP_ID alone names.
TEST_F(RootWindowTest, FreesThePreviousPictureOnlyWhenBothPropertiesNameIt) {
    const xcb_pixmap_t left = LeftBehindPixmap();
    NamePixmap("_XROOTPMAP_ID", XCB_NONE);
    NamePixmap("ESETROOT_PMAP_ID", left);
    ASSERT_TRUE(ApplyToRootWindow(canvas, "").applied);
    EXPECT_TRUE(Exists(left));
}

// A desktop program that draws again puts its own picture in _XROOTPMAP_ID alone (xfdesktop
// does): ours is then seen as replaced and freed, as nothing shows it any more.
TEST_F(RootWindowTest, SeesItsPictureReplacedByADesktopProgramAndFreesIt) {
    ASSERT_TRUE(ApplyToRootWindow(canvas, "").applied);
    EXPECT_FALSE(RootPictureReplaced(""));
    const xcb_pixmap_t ours = RootPixmap("ESETROOT_PMAP_ID");
    const xcb_pixmap_t desktops = LeftBehindPixmap();
    NamePixmap("_XROOTPMAP_ID", desktops);
    EXPECT_TRUE(RootPictureReplaced(""));
    EXPECT_FALSE(Exists(ours));
    EXPECT_TRUE(Exists(desktops));
}

// The next application frees the picture only when both properties name it: one that
// ESETROOT_PMAP_ID does not name is a refusal, and is freed at once.
TEST_F(RootWindowTest, RefusesAndFreesAPictureESetRootPmapIdLost) {
    lostProperty = Atom("ESETROOT_PMAP_ID");
    const WayResult result = ApplyToRootWindow(canvas, "");
    lostProperty = XCB_NONE;
    EXPECT_FALSE(result.applied);
    EXPECT_EQ(result.reason, WayReason::DisplayRefused);
    EXPECT_FALSE(Exists(RootPixmap("_XROOTPMAP_ID")));
}

TEST_F(RootWindowTest, SaysSoWithoutADisplay) {
    const WayResult result = ApplyToRootWindow(canvas, ":4095");
    EXPECT_FALSE(result.applied);
    EXPECT_EQ(result.reason, WayReason::NoDisplay);
}

} // namespace
} // namespace tidepool
