#include "ui/preview/pan.h"
#include "ui/preview/preview_layout.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <string>

namespace tidepool {
namespace {

struct PanCase {
    std::string name;
    float start, pressedAt, pointer;
    int max;
    int expected;
};

void PrintTo(const PanCase& c, std::ostream* out) {
    *out << c.name;
}

class PanPositionTest : public testing::TestWithParam<PanCase> {};

TEST_P(PanPositionTest, MovesThreeTimesThePointerWithinTheRange) {
    const PanCase& c = GetParam();
    EXPECT_EQ(PanPosition(c.start, c.pressedAt, c.pointer, c.max), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, PanPositionTest,
    testing::Values(
        // 100 twips left of the press: the view moves 300 twips right over the canvas.
        PanCase{"PointerLeftViewRight", 300, 1500, 1400, 1000, 600},
        PanCase{"StopsAtMax", 300, 1500, 1400, 450, 450},
        PanCase{"StopsAtZero", 300, 1500, 2000, 1000, 0},
        PanCase{"OnePixelIsThreePixels", 0, 1500, 1485, 1000, 45},
        PanCase{"HiddenAxisStaysAtZero", 0, 1500, 600, 0, 0},
        PanCase{"HalfRoundsDownToEven", 2.5f, 0, 0, 10, 2},
        PanCase{"HalfRoundsUpToEven", 3.5f, 0, 0, 10, 4},
        // Limited before rounding: neither end can round out of the range.
        PanCase{"HalfPastMax", 10.5f, 0, 0, 10, 10}, PanCase{"HalfBelowZero", -0.5f, 0, 0, 10, 0},
        PanCase{"BeyondFloatPrecision", 0, 0, -1e9f, INT_MAX, INT_MAX}),
    [](const testing::TestParamInfo<PanCase>& info) { return info.param.name; });

TEST(PanTest, MeasuresBothAxesFromThePress) {
    const DragStart press{1500, 1500, 300, 0};
    EXPECT_EQ(Pan(press, 1400, 1500, 1000, 0), (PanPositions{600, 0}));
    EXPECT_EQ(Pan(press, 1400, 1400, 1000, 0), (PanPositions{600, 0}));
    EXPECT_EQ(Pan(press, 1500, 1400, 1000, 2000), (PanPositions{300, 300}));
}

// The pointer moves in window pixels; the view follows at three times its movement measured in
// device pixels, the canvas's own.
TEST(PanTest, MovesTheViewThreeTimesThePointerInDevicePixels) {
    for (const double ratio : {1.0, 1.5, 2.0}) {
        const int moved = 10; // window pixels to the left
        const int h = PanPosition(PointerTwips(0, 15), PointerTwips(100, 15),
                                  PointerTwips(100 - moved, 15), 100000);
        EXPECT_EQ(ScrollToPixel(h, 15, ratio), static_cast<int>(3 * moved * ratio)) << ratio;
    }
}

// Beyond 32767 twips a 16-bit position would wrap: the largest canvas in the smallest view has
// ranges well past that, and its far corner must still be in reach by bar and by drag.
TEST(PanTest, ReachesTheFarCornerOfTheLargestCanvas) {
    const PreviewMetrics metrics = StandardMetrics(255, 255);
    const PreviewLayout start = InitialLayout({3675, 4875}, {3660, 4860});
    const ResizeOutcome small = LayOutPreview(start, metrics, {1200, 1200}, {2400, 2400});
    ASSERT_EQ(small.snapBack, SnapBack::None);
    const PreviewLayout& l = small.layout;
    ASSERT_TRUE(l.h.shown && l.v.shown);
    EXPECT_GT(l.h.max, 32767);
    EXPECT_GT(l.v.max, 32767);

    const PanPositions dragged =
        Pan({PointerTwips(900, 15), PointerTwips(900, 15), 0, 0}, 0, 0, l.h.max, l.v.max);
    EXPECT_EQ(dragged, (PanPositions{l.h.max, l.v.max}));

    const Extent inside{l.viewWidth / 15 - 4, l.viewHeight / 15 - 4};
    const Rect block = VisibleCanvasBlock({2400, 2400}, ScrollToPixel(dragged.h, 15),
                                          ScrollToPixel(dragged.v, 15), inside);
    EXPECT_EQ(block.x + block.width, 2400);
    EXPECT_EQ(block.y + block.height, 2400);
}

} // namespace
} // namespace tidepool
