#include "ui/fixedcolour/sample_crab.h"

#include <gtest/gtest.h>

#include <string>

namespace tidepool {
namespace {

// The sample box's inside, and where each fixed colour shows at one unit per pixel: the crab's
// body centre, its left pattern mark, its left eye, and the largest bubble.
constexpr int kSide = 117;
struct Point {
    int x;
    int y;
};
constexpr Point kBody{59, 72};
constexpr Point kPattern{47, 72};
constexpr Point kEye{50, 23};
constexpr Point kBubble{14, 6};
constexpr Point kClearCorner{kSide - 1, 0};

constexpr Colour kForeground = 0x332211, kMiddle = 0x665544, kBackground = 0x998877;

MainSettings MainWithSwatches(ColourRole role) {
    MainSettings main;
    main.colourRole = role;
    main.swatches = {kForeground, kMiddle, kBackground};
    return main;
}

DrawingSurface Sample(const MainSettings& main, const RenderSettings& render) {
    DrawingSurface sample;
    DrawSampleCrab(sample, kSide, kSide, ReadDrawSettings(main), render);
    return sample;
}

TEST(DrawSampleCrab, ShowsEachFixedColourInItsPlace) {
    RenderSettings render;
    render.FixedColours = {0, 0x0000FF, 0x00FFFF, 0x000000, 0xFFFFFF};
    // The sample is a fixed-colour crab whether or not the drawing uses fixed colours.
    render.UseFixedColours = 0;
    const DrawingSurface sample = Sample(MainWithSwatches(ColourRole::Foreground), render);
    ASSERT_EQ(sample.width(), kSide);
    ASSERT_EQ(sample.height(), kSide);
    EXPECT_EQ(sample.colourAt(kBody.x, kBody.y), Colour{0x0000FF});
    EXPECT_EQ(sample.colourAt(kPattern.x, kPattern.y), Colour{0x00FFFF});
    EXPECT_EQ(sample.colourAt(kEye.x, kEye.y), Colour{0x000000});
    EXPECT_EQ(sample.colourAt(kBubble.x, kBubble.y), Colour{0xFFFFFF});
}

struct RoleCase {
    ColourRole role;
    Colour background;
};

// ColourRole's values in order, to name the cases by.
constexpr const char* kRoleNames[] = {"Foreground", "Middle", "Background", "None"};

class SampleBackgroundTest : public ::testing::TestWithParam<RoleCase> {};

// The background a drawing without a picture would have.
TEST_P(SampleBackgroundTest, FollowsTheColourRole) {
    const DrawingSurface sample = Sample(MainWithSwatches(GetParam().role), RenderSettings{});
    EXPECT_EQ(sample.colourAt(kClearCorner.x, kClearCorner.y), GetParam().background);
    EXPECT_EQ(sample.backColor(), GetParam().background);
}

INSTANTIATE_TEST_SUITE_P(Roles, SampleBackgroundTest,
                         ::testing::Values(RoleCase{ColourRole::Foreground, kBackground},
                                           RoleCase{ColourRole::Middle, kBackground},
                                           RoleCase{ColourRole::Background, kForeground}),
                         [](const auto& info) {
                             return std::string(kRoleNames[static_cast<int>(info.param.role)]);
                         });

TEST(DrawSampleCrab, ResolvesSystemColoursWithTheRenderPalette) {
    RenderSettings render;
    render.palette.colours[SystemPalette::kButtonHighlight] = 0x563412;
    const DrawingSurface sample = Sample(MainSettings{}, render);
    EXPECT_EQ(sample.colourAt(kClearCorner.x, kClearCorner.y), Colour{0x563412});
}

int PixelsCovered(const DrawingSurface& surface) {
    int count = 0;
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x)
            count += surface.colourAt(x, y) != surface.backColor();
    return count;
}

// The sample stays at one unit per pixel; only the outlines follow the magnification field, as
// typed and not yet corrected.
TEST(DrawSampleCrab, ThickerOutlinesForALargerMagnification) {
    const RenderSettings render;
    MainSettings main = MainWithSwatches(ColourRole::Foreground);
    std::vector<int> covered;
    for (const char* magnification : {"0.1", "1.0", "4", "99"}) {
        main.magnification = magnification;
        const DrawingSurface sample = Sample(main, render);
        EXPECT_EQ(sample.scaleX(), 1.0);
        covered.push_back(PixelsCovered(sample));
    }
    // Thicker legs and stalks cover more of the background.
    EXPECT_LT(covered[0], covered[1]);
    EXPECT_LT(covered[1], covered[2]);
    EXPECT_LT(covered[2], covered[3]);
}

} // namespace
} // namespace tidepool
