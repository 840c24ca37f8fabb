#include "render/figure/crab_figure.h"
#include "render/tiling/tile_crabs.h"

#include "tests/support/test_name.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace tidepool {
namespace {

using test_names::NameOf;

const char* LayoutName(Layout layout) {
    return layout == Layout::Slide ? "Slide" : "Standard";
}

struct GridCase {
    int w, h;
    double m, s;
    Layout layout;
    CrabGrid expected;
};

class CrabGridTest : public testing::TestWithParam<GridCase> {};

TEST_P(CrabGridTest, MatchesTheWorkedLayouts) {
    const GridCase& c = GetParam();
    auto grid = LayOutCrabGrid(c.w, c.h, c.m, c.s, c.layout);
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->UW, c.expected.UW);
    EXPECT_EQ(grid->UH, c.expected.UH);
    EXPECT_FLOAT_EQ(grid->DX, c.expected.DX);
    EXPECT_FLOAT_EQ(grid->DY, c.expected.DY);
    EXPECT_EQ(grid->NX, c.expected.NX);
    EXPECT_EQ(grid->NY, c.expected.NY);
    EXPECT_EQ(grid->OX, c.expected.OX);
    EXPECT_EQ(grid->OY, c.expected.OY);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, CrabGridTest,
    testing::Values(
        GridCase{240, 320, 1, 1, Layout::Slide, {240, 320, 120, 106.666664f, 3, 4, -60, -57}},
        GridCase{240, 320, 1, 1, Layout::Standard, {240, 320, 120, 106.666664f, 2, 3, -1, 2}},
        // Too small for one cell: both counts are forced to 1 and the crab is centred.
        GridCase{100, 100, 1, 1, Layout::Slide, {100, 100, 100, 100, 1, 1, -11, -1}},
        GridCase{1024, 768, 2, 1.5, Layout::Standard, {512, 384, 256, 192, 2, 2, 67, 45}},
        // The densest grid the job allows.
        GridCase{2400,
                 2400,
                 0.1,
                 0.85,
                 Layout::Slide,
                 {24000, 24000, 102.127659f, 90.225563f, 236, 267, -60, -57}}),
    [](const auto& info) {
        const GridCase& c = info.param;
        return NameOf(c.w, "x", c.h, LayoutName(c.layout));
    });

TEST(CrabGridTest, CrabOriginsOfTheSlideLayoutPutBodyCentresOnTheEdges) {
    auto grid = LayOutCrabGrid(240, 320, 1, 1, Layout::Slide);
    ASSERT_TRUE(grid);
    std::vector<long> ys;
    for (int r = 0; r < grid->NY; ++r)
        ys.push_back(std::lrint(static_cast<float>(r) * static_cast<double>(grid->DY) + grid->OY));
    EXPECT_EQ(ys, (std::vector<long>{-57, 50, 156, 263}));
}

TEST(CrabGridTest, RefusesValuesOutsideTheCheckedRanges) {
    EXPECT_FALSE(LayOutCrabGrid(240, 320, 0, 1, Layout::Slide));
    EXPECT_FALSE(LayOutCrabGrid(2400, 2400, 0.01, 1, Layout::Slide));
    EXPECT_FALSE(LayOutCrabGrid(240, 320, 1, 0, Layout::Slide));
}

struct SequenceCase {
    std::array<bool, 5> ticked;
    double shift;
    std::vector<EyeShape> expected;
};

class ShapeSequenceTest : public testing::TestWithParam<SequenceCase> {};

TEST_P(ShapeSequenceTest, RotatesTheTickedShapes) {
    EXPECT_EQ(ShapeSequence(GetParam().ticked, GetParam().shift), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, ShapeSequenceTest,
    testing::Values(SequenceCase{{true, false, true, false, false}, 1, {3, 1}},
                    SequenceCase{{true, false, true, false, false}, 0, {1, 3}},
                    SequenceCase{{true, false, true, false, false}, 2, {1, 3}},
                    SequenceCase{{false, false, false, false, false}, 0, {1}},
                    SequenceCase{{true, true, true, true, true}, 0, {1, 2, 3, 4, 5}},
                    SequenceCase{{true, true, true, true, true}, 3, {4, 5, 1, 2, 3}},
                    SequenceCase{{true, true, true, true, true}, 5, {1, 2, 3, 4, 5}},
                    // Shifts no field check allows still stay inside the list.
                    SequenceCase{{true, true, true, false, false}, -1, {3, 1, 2}},
                    SequenceCase{{true, true, true, false, false}, 7, {2, 3, 1}},
                    SequenceCase{{true, true, false, false, false}, HUGE_VAL, {1, 2}}),
    [](const auto& info) {
        std::string ticked;
        for (bool box : info.param.ticked)
            ticked += box ? '1' : '0';
        return NameOf("Ticked", ticked, "Shift", info.param.shift);
    });

TEST(BubbleFieldTest, CountsFollowTheBubbleSpacing) {
    auto grid = *LayOutCrabGrid(240, 320, 1, 1, Layout::Slide);
    auto counts = [&](float b) {
        BubbleCounts c = BubbleFieldCounts(grid, b);
        return std::pair{c.NBX, c.NBY};
    };
    EXPECT_EQ(counts(1), std::pair(16, 18));
    EXPECT_EQ(counts(0.5f), std::pair(19, 22));
    EXPECT_EQ(counts(2), std::pair(10, 10));
}

struct OriginCase {
    Layout layout;
    float shadow;
    std::vector<long> xs, ys;
};

class BubbleOriginTest : public testing::TestWithParam<OriginCase> {};

TEST_P(BubbleOriginTest, FirstGroupsSitOnTheHalfPitch) {
    const OriginCase& c = GetParam();
    auto grid = *LayOutCrabGrid(240, 320, 1, 1, Layout::Slide);
    std::vector<long> xs, ys;
    for (int i = 0; i < 4; ++i) {
        BubbleOrigin g = BubbleGroupOrigin(grid, c.layout, 1, 0, 0, i, i);
        xs.push_back(std::lrint(g.x + c.shadow));
        ys.push_back(std::lrint(g.y + c.shadow));
    }
    EXPECT_EQ(xs, c.xs);
    EXPECT_EQ(ys, c.ys);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, BubbleOriginTest,
    testing::Values(OriginCase{Layout::Slide, 0, {-5, 55, 115, 175}, {15, 69, 122, 175}},
                    OriginCase{Layout::Slide, 2, {-3, 57, 117, 177}, {17, 71, 124, 177}},
                    OriginCase{Layout::Standard, 0, {-9, 51, 111, 171}, {18, 72, 125, 178}}),
    [](const auto& info) {
        return NameOf(LayoutName(info.param.layout), "Shadow", info.param.shadow);
    });

struct PenCase {
    double m;
    int pen;
};

class OutlinePenWidthTest : public testing::TestWithParam<PenCase> {};

TEST_P(OutlinePenWidthTest, FollowsTheMagnificationBands) {
    EXPECT_EQ(OutlinePenWidth(GetParam().m), GetParam().pen) << GetParam().m;
}

INSTANTIATE_TEST_SUITE_P(Bands, OutlinePenWidthTest,
                         testing::Values(PenCase{0.1, 1}, PenCase{0.2, 1}, PenCase{0.21, 2},
                                         PenCase{0.5, 2}, PenCase{0.51, 3}, PenCase{1.0, 3},
                                         PenCase{1.01, 3}, PenCase{1.29, 3}, PenCase{1.3, 4},
                                         PenCase{1.69, 4}, PenCase{1.7, 5}, PenCase{2.2, 6},
                                         PenCase{8.5, 13}, PenCase{15.99, 17}, PenCase{16, 18},
                                         PenCase{HUGE_VAL, 255}),
                         [](const auto& info) { return NameOf("M", info.param.m); });

// --- The passes over the grid -----------------------------------------------------------------

constexpr Colour kRed = rgb(0xFF, 0, 0), kGreen = rgb(0, 0xFF, 0), kBlue = rgb(0, 0, 0xFF);
constexpr Colour kWhite = rgb(0xFF, 0xFF, 0xFF);

MainSettings PlainSwatches() {
    MainSettings s;
    s.swatches = {kRed, kGreen, kBlue};
    s.fixedColours = false;
    return s;
}

// 480 x 424 at spacing 2 in the standard layout leaves a crab-free column between the two crab
// columns and a crab-free row between the two crab rows. Bubble spacing 2 gives NBX = NBY = 10,
// and the shift puts group (10, 10), and no other, at (190, 190) in that gap: groups (9, j) lie
// left of the surface, (i, 9) above it. Groups (11, j) and (i, 11), one past the last, would
// fall on bare background too.
TEST(BubbleFieldTest, DrawsTheLastGroupOfBothLoopsAndNoneBeyond) {
    MainSettings s = PlainSwatches();
    s.width = "480", s.height = "424", s.spacing = "2", s.layout = Layout::Standard;
    s.bubbleSpacing = "2", s.bubbleShiftX = "-2201", s.bubbleShiftY = "-1980";
    s.bubbleShadow = false;
    const CrabGrid grid = *LayOutCrabGrid(480, 424, 1, 2, Layout::Standard);
    const BubbleCounts counts = BubbleFieldCounts(grid, 2);
    ASSERT_EQ(std::pair(counts.NBX, counts.NBY), std::pair(10, 10));
    const BubbleOrigin last = BubbleGroupOrigin(grid, Layout::Standard, 2, -2201, -1980, 10, 10);
    ASSERT_EQ(std::pair(std::lrint(last.x), std::lrint(last.y)), std::pair(190L, 190L));

    DrawingSurface surface(480, 424);
    TileCrabs(surface, 1, ReadDrawSettings(s), RenderSettings{});
    // The centre of each group's largest bubble, 6 units in from its origin.
    EXPECT_EQ(surface.colourAt(196, 196), kWhite) << "group (NBX, NBY) is not drawn";
    EXPECT_NE(surface.colourAt(436, 196), kWhite) << "group (NBX + 1, NBY) is drawn";
    EXPECT_NE(surface.colourAt(196, 408), kWhite) << "group (NBX, NBY + 1) is drawn";
}

// The worked 240 x 320 slide grid: crab origins x -60, 60, 180 and y -57, 50, 156, 263. With
// shadow width 2.5 each shadow crab sits at the rounded sum, origin + T: x -58, 62, 182 and y -54,
// 52, 159, 265. The reference draws exactly those, each shadow just before its crab.
TEST(CrabPassTest, ShadowCrabsSitTheShadowWidthRightOfAndBelowTheirCrabs) {
    MainSettings s = PlainSwatches();
    s.bubbles = false;
    s.shadowWidth = "2.5";
    DrawingSurface tiled(240, 320);
    TileCrabs(tiled, 1, ReadDrawSettings(s), RenderSettings{});

    const RenderSettings render;
    const CrabStyle style{0, render.FixedColours, OutlinePenWidth(1)};
    const std::int16_t xs[] = {-60, 60, 180}, ys[] = {-57, 50, 156, 263};
    const std::int16_t shadowXs[] = {-58, 62, 182}, shadowYs[] = {-54, 52, 159, 265};
    DrawingSurface expected(240, 320);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c) {
            DrawCrab(expected, 2, shadowXs[c], shadowYs[r], kGreen, kRed, 1, style);
            DrawCrab(expected, 2, xs[c], ys[r], kRed, kGreen, 1, style);
        }
    EXPECT_TRUE(std::equal(expected.pixels(), expected.pixels() + 240 * 320, tiled.pixels()))
        << "the shadow crabs are not at their crabs' origins + T";
}

} // namespace
} // namespace tidepool
