#include "ui/preview/preview_layout.h"

#include "tests/support/test_name.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <ostream>
#include <string>

namespace tidepool {

std::ostream& operator<<(std::ostream& out, const ScrollRange& r) {
    return out << (r.shown ? "shown" : "hidden") << " max " << r.max << " small " << r.smallChange
               << " large " << r.largeChange;
}

std::ostream& operator<<(std::ostream& out, const PreviewLayout& l) {
    return out << "last " << l.lastWidth << "x" << l.lastHeight << ", view " << l.viewWidth << "x"
               << l.viewHeight << ", h " << l.h << ", v " << l.v;
}

std::ostream& operator<<(std::ostream& out, const Rect& r) {
    return out << r.x << "," << r.y << " " << r.width << "x" << r.height;
}

namespace {

// Bars 17 pixels (255 twips) thick, the classic Windows thickness.
const PreviewMetrics kMetrics = StandardMetrics(255, 255);
constexpr Extent kStartWindow{3675, 4875};
const PreviewLayout kStart = InitialLayout(kStartWindow, {3660, 4860});

PreviewLayout AtStartSize(Extent view, ScrollRange h, ScrollRange v) {
    return {kStartWindow.width, kStartWindow.height, view.width, view.height, h, v};
}

struct FrameCase {
    BoxFrame box;
    double twipsPerPixel;
    int expected;
};

void PrintTo(const FrameCase& c, std::ostream* out) {
    *out << "pen " << c.box.penWidth << (c.box.singleLineBorder ? " border" : "")
         << (c.box.threeD ? " 3-D" : "") << " at " << c.twipsPerPixel;
}

class MeasureFrameTest : public testing::TestWithParam<FrameCase> {};

TEST_P(MeasureFrameTest, CountsBothSidesOfTheFramePlusOnePixel) {
    const FrameCase& c = GetParam();
    const FrameExtent e = MeasureFrame(c.box, c.twipsPerPixel, c.twipsPerPixel);
    EXPECT_EQ(e.x, c.expected);
    EXPECT_EQ(e.y, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, MeasureFrameTest,
    testing::Values(FrameCase{{true, true, 1}, 15, 75}, FrameCase{{true, false, 1}, 15, 45},
                    FrameCase{{false, true, 1}, 15, 45}, FrameCase{{false, false, 1}, 15, 15},
                    FrameCase{{true, true, 2}, 15, 105},
                    // 108 dots per inch: every step rounds on its own.
                    FrameCase{{true, true, 1}, 13.333333, 67}),
    [](const auto& info) {
        const BoxFrame& box = info.param.box;
        return test_names::NameOf("Pen", box.penWidth, box.singleLineBorder ? "Border" : "",
                                  box.threeD ? "ThreeD" : "", "At", info.param.twipsPerPixel);
    });

struct ResizeCase {
    std::string name;
    PreviewLayout before;
    Extent window;
    Extent canvas;
    PreviewLayout expected;
};

void PrintTo(const ResizeCase& c, std::ostream* out) {
    *out << c.name;
}

class LayOutPreviewTest : public testing::TestWithParam<ResizeCase> {};

TEST_P(LayOutPreviewTest, ShowsEachBarExactlyWhileTheCanvasOverflows) {
    const ResizeCase& c = GetParam();
    const ResizeOutcome outcome = LayOutPreview(c.before, kMetrics, c.window, c.canvas);
    EXPECT_EQ(outcome.snapBack, SnapBack::None);
    EXPECT_EQ(outcome.layout, c.expected);
}

const ScrollRange kHidden{};

INSTANTIATE_TEST_SUITE_P(
    Canvases, LayOutPreviewTest,
    testing::Values(
        ResizeCase{"StartUpCanvasFitsExactly", kStart, kStartWindow, {240, 320}, kStart},
        ResizeCase{"SmallerCanvasNeedsNoBar", kStart, kStartWindow, {16, 16}, kStart},
        // Filling the view along one side is no overflow, with no other bar to narrow the view.
        ResizeCase{"ExactlyAsWideButShorter", kStart, kStartWindow, {240, 100}, kStart},
        ResizeCase{"OnePixelWider",
                   kStart,
                   kStartWindow,
                   {241, 300},
                   AtStartSize({3660, 4605}, {true, 30, 3, 3660}, kHidden)},
        // The horizontal bar lowers the view, which then needs the vertical bar, which narrows
        // it: the horizontal range is worked out again for the narrower view.
        ResizeCase{"WiderButNotTaller",
                   kStart,
                   kStartWindow,
                   {241, 320},
                   AtStartSize({3405, 4605}, {true, 285, 28, 3405}, {true, 270, 27, 4605})},
        // The other way round the vertical range must also grow by the horizontal bar.
        ResizeCase{"TallerButNotWider",
                   kStart,
                   kStartWindow,
                   {240, 400},
                   AtStartSize({3405, 4605}, {true, 270, 27, 3405}, {true, 1470, 147, 4605})},
        ResizeCase{"BothShownButFitWithoutEither",
                   AtStartSize({3405, 4605}, {true, 270, 27, 3405}, {true, 270, 27, 4605}),
                   kStartWindow,
                   {240, 320},
                   kStart},
        ResizeCase{"HidingResetsTheRange",
                   AtStartSize({3660, 4605}, {true, 30, 3, 3660}, kHidden),
                   kStartWindow,
                   {200, 200},
                   kStart},
        ResizeCase{"ViewFollowsTheWindow",
                   kStart,
                   {3825, 4725},
                   {250, 310},
                   {3825, 4725, 3810, 4710, kHidden, kHidden}}),
    [](const testing::TestParamInfo<ResizeCase>& info) { return info.param.name; });

struct SnapCase {
    std::string name;
    PreviewLayout before;
    Extent window;
    SnapBack expected;
};

void PrintTo(const SnapCase& c, std::ostream* out) {
    *out << c.name;
}

class SnapBackTest : public testing::TestWithParam<SnapCase> {};

TEST_P(SnapBackTest, RefusesOnlyAShrinkBelowTheMinimum) {
    const SnapCase& c = GetParam();
    const ResizeOutcome outcome = LayOutPreview(c.before, kMetrics, c.window, {240, 320});
    EXPECT_EQ(outcome.snapBack, c.expected);
    if (c.expected != SnapBack::None) {
        EXPECT_EQ(outcome.layout, c.before);
        return;
    }
    EXPECT_EQ(outcome.layout.lastWidth, c.window.width);
    EXPECT_EQ(outcome.layout.lastHeight, c.window.height);
}

// The window 1200 twips wide with the vertical bar up: its viewport is 930 twips wide.
const PreviewLayout kNarrowWithBar{1200, 4875, 930, 4860, kHidden, {true, 45, 4, 4860}};

INSTANTIATE_TEST_SUITE_P(
    Sizes, SnapBackTest,
    testing::Values(
        SnapCase{"NarrowerThanTheMinimum", kStart, {990, 4875}, SnapBack::Width},
        SnapCase{"LowerThanTheMinimum", kStart, {3675, 1005}, SnapBack::Height},
        SnapCase{"WidthIsTestedFirst", kStart, {990, 1005}, SnapBack::Width},
        SnapCase{"ExactlyTheMinimum", kStart, {1015, 1015}, SnapBack::None},
        SnapCase{
            "NarrowedByItsBarAndResizedInHeight", kNarrowWithBar, {1200, 4500}, SnapBack::None},
        SnapCase{"NarrowedByItsBarAndWidened", kNarrowWithBar, {1215, 4875}, SnapBack::None},
        SnapCase{
            "NarrowedByItsBarAndCalledUnresized", kNarrowWithBar, {1200, 4875}, SnapBack::None},
        SnapCase{
            "NarrowedByItsBarAndNarrowedFurther", kNarrowWithBar, {1185, 4875}, SnapBack::Width}),
    [](const testing::TestParamInfo<SnapCase>& info) { return info.param.name; });

struct MinimumCase {
    std::string name;
    PreviewLayout layout;
    Extent canvas;
    Extent expected;
};

void PrintTo(const MinimumCase& c, std::ostream* out) {
    *out << c.name;
}

class MinimumWindowTest : public testing::TestWithParam<MinimumCase> {};

TEST_P(MinimumWindowTest, KeepsTheViewportAtTheMinimumWithTheBarsItNeedsThere) {
    const MinimumCase& c = GetParam();
    EXPECT_EQ(MinimumWindowPixels(c.layout, kMetrics, c.canvas), c.expected);
}

// 1000 twips of viewport and the pixel the window has beyond it make 1015 twips: 68 pixels; each
// bar the canvas needs in a window that small adds its 17 pixels along the side it narrows.
INSTANTIATE_TEST_SUITE_P(
    Windows, MinimumWindowTest,
    testing::Values(MinimumCase{"NoBar", kStart, {16, 16}, {68, 68}},
                    MinimumCase{"BothBarsOnceSmall", kStart, {240, 320}, {85, 85}},
                    MinimumCase{"OnlyTheHorizontalBar", kStart, {70, 16}, {68, 85}},
                    MinimumCase{"OnlyTheVerticalBar", kStart, {16, 70}, {85, 68}},
                    MinimumCase{"BarsUpNow", kNarrowWithBar, {16, 16}, {68, 68}}),
    [](const testing::TestParamInfo<MinimumCase>& info) { return info.param.name; });

// On a screen of several device pixels to a window pixel the canvas is shown one to one in device
// pixels: a bar is up exactly while the canvas has more device pixels than the view, and at the
// end of its range the view shows the canvas's last column, with at most one pixel beyond it.
class DeviceRatioTest : public testing::TestWithParam<double> {};

TEST_P(DeviceRatioTest, BarsReachTheCanvasEdgeInDevicePixels) {
    const double ratio = GetParam();
    const PreviewMetrics metrics = StandardMetrics(255, 255, ratio);
    // The start-up viewport's 240 window pixels inside its frame, as whole device pixels.
    const int inside = static_cast<int>(std::floor(242 * ratio) - std::ceil(2 * ratio));
    for (int width = inside - 40; width <= inside + 40; ++width) {
        const PreviewLayout l = LayOutPreview(kStart, metrics, kStartWindow, {width, 16}).layout;
        ASSERT_EQ(l.h.shown, width > inside) << width << " at " << ratio;
        if (!l.h.shown)
            continue;
        const int viewInside =
            static_cast<int>(std::floor((l.viewWidth / 15 - 2) * ratio) - std::ceil(2 * ratio));
        const int reach = ScrollToPixel(l.h.max, 15, ratio) + viewInside;
        EXPECT_TRUE(reach == width || reach == width + 1) << width << " at " << ratio;
    }
}

INSTANTIATE_TEST_SUITE_P(Ratios, DeviceRatioTest, testing::Values(1.0, 1.25, 1.5, 1.75, 2.0, 3.0),
                         [](const testing::TestParamInfo<double>& info) {
                             return test_names::NameOf("Ratio", info.param);
                         });

TEST(BarPlaceTest, BarsLieAlongTheViewportsEdges) {
    const PreviewLayout l = AtStartSize({3405, 4605}, {true, 285, 28, 3405}, {true, 270, 27, 4605});
    EXPECT_EQ(ToPixels(HorizontalBarPlace(l, kMetrics), kMetrics), (Rect{0, 307, 227, 17}));
    EXPECT_EQ(ToPixels(VerticalBarPlace(l, kMetrics), kMetrics), (Rect{227, 0, 17, 307}));
}

struct BlockCase {
    std::string name;
    Extent canvas;
    int x, y;
    Extent inside;
    Rect expected;
};

void PrintTo(const BlockCase& c, std::ostream* out) {
    *out << c.name;
}

class VisibleCanvasBlockTest : public testing::TestWithParam<BlockCase> {};

TEST_P(VisibleCanvasBlockTest, CopiesOnlyWhatTheCanvasHas) {
    const BlockCase& c = GetParam();
    EXPECT_EQ(VisibleCanvasBlock(c.canvas, c.x, c.y, c.inside), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, VisibleCanvasBlockTest,
    testing::Values(
        BlockCase{"WholeCanvas", {240, 320}, 0, 0, {240, 320}, {0, 0, 240, 320}},
        BlockCase{"SmallCanvas", {100, 50}, 0, 0, {240, 320}, {0, 0, 100, 50}},
        BlockCase{"ScrolledToTheEdges", {500, 500}, 300, 400, {240, 320}, {300, 400, 200, 100}},
        BlockCase{"ScrolledOneBeyondTheEdge", {500, 500}, 261, 0, {240, 320}, {261, 0, 239, 320}},
        BlockCase{"PastTheCanvas", {500, 500}, 500, 0, {240, 320}, {}},
        BlockCase{"EmptyCanvas", {0, 0}, 0, 0, {240, 320}, {}},
        BlockCase{"BeforeTheCanvas", {100, 100}, -10, 0, {20, 20}, {0, 0, 10, 20}},
        BlockCase{"FarOff", {100, 100}, INT_MAX - 5, INT_MAX, {20, 20}, {}}),
    [](const testing::TestParamInfo<BlockCase>& info) { return info.param.name; });

} // namespace
} // namespace tidepool
