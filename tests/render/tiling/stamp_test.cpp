// The checks that keep drawing from stamps exact where the figures would not leave the same
// pixels: what the draw-path comparisons cannot reach, as the crabs never trip them.
#include "render/tiling/figure_stamp.h"
#include "render/tiling/stamp_lattice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

namespace tidepool {
namespace {

// Scratches given the same figures in other colours must have drawn the same pixels: where one
// drew and another did not, a tuple would hold a pixel no layer has there.
TEST(TupleStampFromScratches, RefusesScratchesDrawnOnDifferentPixels) {
    std::vector<DrawingSurface> scratches(2, DrawingSurface(4, 3));
    for (DrawingSurface& scratch : scratches)
        std::fill_n(scratch.pixels(), 12, kUntouched);
    scratches[0].pixels()[5] = 0xFF112233u;
    scratches[1].pixels()[5] = 0xFF445566u;
    PixelTuples tuples({0xFF000000u, 0xFFFFFFFFu});
    EXPECT_TRUE(TupleStampFromScratches(scratches, 0, 0, 4, tuples));
    scratches[1].pixels()[6] = 0xFF445566u;
    EXPECT_FALSE(TupleStampFromScratches(scratches, 0, 0, 4, tuples));
}

struct Direction {
    const char* name;
    int dx, dy;
};

class StampScratch : public testing::TestWithParam<Direction> {};

// A site's figure that reaches further than the probe at the origin saw may leave the scratch
// surface its stamp is recorded on, which holds three pixels beyond a dot: a line three pixels
// long stays on it, one four pixels long leaves it by one, and its stamp would lack that pixel.
TEST_P(StampScratch, HoldsAFigureToItsEdgeAndRefusesOnePixelMore) {
    const DrawingSurface grid(40, 40);
    const SiteAxes axes{{{10, std::nullopt}, {25, std::nullopt}},
                        {{10, std::nullopt}, {25, std::nullopt}}};
    for (const auto& [length, held] : {std::pair{3, true}, std::pair{4, false}}) {
        const SitePass pass{axes, false, 1,
                            [length, d = GetParam()](DrawingSurface& s, const AxisOrigin& column,
                                                     const AxisOrigin& row, int) {
                                const int x = *column.figure, y = *row.figure;
                                const int far = x == 0 ? 0 : length;
                                s.Line(x, y, x + far * d.dx, y + far * d.dy);
                            }};
        StampLattice lattice;
        ASSERT_TRUE(lattice.layOut(pass, grid, StampUse::WhereverTheyFit));
        EXPECT_EQ(lattice.record(pass, grid), held) << length << " pixels long";
    }
}

INSTANTIATE_TEST_SUITE_P(Sides, StampScratch,
                         testing::Values(Direction{"Right", 1, 0}, Direction{"Left", -1, 0},
                                         Direction{"Down", 0, 1}, Direction{"Up", 0, -1}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace tidepool
