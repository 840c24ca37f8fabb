// The X11 root window way, on the X server the test is run under (xvfb-run): the picture is read
// back from the server and compared pixel for pixel.
#include "wallpaper/desktop_tiling.h"
#include "wallpaper/x11_root.h"

#include <xcb/xcb.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace tidepool {
namespace {

struct Disconnect {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};

template <typename Reply> std::unique_ptr<Reply, decltype(&std::free)> Owned(Reply* reply) {
    return {reply, &std::free};
}

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

    bool Exists(xcb_pixmap_t pixmap) {
        xcb_generic_error_t* error = nullptr;
        const auto geometry = Owned(xcb_get_geometry_reply(
            connection.get(), xcb_get_geometry(connection.get(), pixmap), &error));
        std::free(error);
        return geometry != nullptr;
    }

    std::unique_ptr<xcb_connection_t, Disconnect> connection;
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
                      static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height),
                      ~0u),
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

TEST_F(RootWindowTest, SaysSoWithoutADisplay) {
    const WayResult result = ApplyToRootWindow(canvas, ":4095");
    EXPECT_FALSE(result.applied);
    EXPECT_EQ(result.reason, WayReason::NoDisplay);
}

} // namespace
} // namespace tidepool
