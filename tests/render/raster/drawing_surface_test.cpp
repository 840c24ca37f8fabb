#include "render/raster/drawing_surface.h"

#include "tests/support/test_name.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace tidepool {
namespace {

constexpr Colour kRed = rgb(0xFF, 0, 0);
constexpr Colour kBlue = rgb(0, 0, 0xFF);
constexpr Colour kWhite = rgb(0xFF, 0xFF, 0xFF);
constexpr double kMinusPi = -3.141592;
constexpr double kMinusHalfPi = -1.570796;
constexpr double kDegree = 0.01745328888888889;

// A white surface drawing red, pen 1, hollow, one unit per pixel.
DrawingSurface blank(int w, int h) {
    DrawingSurface s(w, h);
    s.setBackColor(kWhite);
    s.ForeColor = kRed;
    s.FillColor = kRed;
    return s;
}

// The surface as text, one line per row: '.' background, '#' red, 'F' blue.
std::string picture(const DrawingSurface& s) {
    std::string out;
    for (int y = 0; y < s.height(); ++y) {
        for (int x = 0; x < s.width(); ++x) {
            const Colour c = s.colourAt(x, y);
            out += c == kWhite ? '.' : c == kRed ? '#' : c == kBlue ? 'F' : '?';
        }
        out += '\n';
    }
    return out;
}

std::string rows(std::initializer_list<const char*> lines) {
    std::string out;
    for (const char* l : lines)
        out += std::string(l) + '\n';
    return out;
}

struct Box {
    int left = INT_MAX, right = INT_MIN, top = INT_MAX, bottom = INT_MIN;
};

Box drawnBox(const DrawingSurface& s) {
    Box b;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (s.colourAt(x, y) != kWhite) {
                b.left = std::min(b.left, x);
                b.right = std::max(b.right, x);
                b.top = std::min(b.top, y);
                b.bottom = std::max(b.bottom, y);
            }
    return b;
}

bool drawn(const DrawingSurface& s, int x, int y) {
    return s.colourAt(x, y) != kWhite;
}

// --- Exact shapes ------------------------------------------------------------------------------

TEST(DrawingSurfaceShapes, HollowCircleIsTheRingWithinHalfAPenOfTheRadius) {
    DrawingSurface s = blank(7, 7);
    s.Circle(3, 3, 2);
    EXPECT_EQ(picture(s),
              rows({".......", "..###..", ".#...#.", ".#...#.", ".#...#.", "..###..", "......."}));
}

TEST(DrawingSurfaceShapes, RingIncludesItsOuterEdgeAndExcludesOnlyTheStrictInside) {
    // Pen 2 around radius 3: the outer circle (radius 4) and inner circle (radius 2) both pass
    // through pixel centres, which pins both ties.
    DrawingSurface s = blank(9, 9);
    s.DrawWidth = 2;
    s.Circle(4, 4, 3);
    EXPECT_EQ(picture(s), rows({"....#....", "..#####..", ".#######.", ".##...##.", "###...###",
                                ".##...##.", ".#######.", "..#####..", "....#...."}));
}

TEST(DrawingSurfaceShapes, FillGoesUnderTheOutlineInItsOwnColour) {
    DrawingSurface s = blank(7, 7);
    s.FillStyle = 0;
    s.FillColor = kBlue;
    s.Circle(3, 3, 2);
    EXPECT_EQ(picture(s),
              rows({".......", "..###..", ".#FFF#.", ".#FFF#.", ".#FFF#.", "..###..", "......."}));
}

TEST(DrawingSurfaceShapes, WidePenLineHasRoundEnds) {
    DrawingSurface s = blank(9, 5);
    s.DrawWidth = 4;
    s.Line(2, 2, 6, 2);
    EXPECT_EQ(picture(s), rows({"..#####..", ".#######.", "#########", ".#######.", "..#####.."}));
}

TEST(DrawingSurfaceShapes, ThinDiagonalLineTouchesOnlyTheDiagonal) {
    DrawingSurface s = blank(5, 5);
    s.Line(4, 4, 0, 0);
    EXPECT_EQ(picture(s), rows({"#....", ".#...", "..#..", "...#.", "....#"}));
}

TEST(DrawingSurfaceShapes, ZeroLengthLineIsAPenDot) {
    DrawingSurface s = blank(5, 5);
    s.DrawWidth = 3;
    s.Line(2, 2, 2, 2);
    EXPECT_EQ(picture(s), rows({".....", ".###.", ".###.", ".###.", "....."}));
}

TEST(DrawingSurfaceShapes, BodyEllipseAtMagnificationTwoSpansTheDocumentedPixels) {
    DrawingSurface s = blank(240, 320);
    s.setScale(120, 160);
    s.FillStyle = 0;
    s.Circle(60, 57, 44, std::nullopt, std::nullopt, 0.9);
    const Box b = drawnBox(s);
    EXPECT_EQ(b.left, 32);
    EXPECT_EQ(b.right, 208);
    EXPECT_EQ(b.top, 35);
    EXPECT_EQ(b.bottom, 193);
    EXPECT_TRUE(drawn(s, 120, 114)); // filled
}

TEST(DrawingSurfaceShapes, PointsRoundToTheNearestPixelHalvesToEven) {
    DrawingSurface s = blank(10, 4);
    s.setScale(20, 8);  // half a pixel per unit
    s.Line(3, 2, 5, 2); // 1.5 -> 2, 2.5 -> 2, row 1
    EXPECT_EQ(picture(s), rows({"..........", "..#.......", "..........", ".........."}));
}

// --- Arcs and pies -------------------------------------------------------------------------------

struct Quadrants {
    bool upperLeft, upperRight, lowerLeft, lowerRight;
};

Quadrants sampleQuadrants(const DrawingSurface& s, int cx, int cy, int d) {
    return {drawn(s, cx - d, cy - d), drawn(s, cx + d, cy - d), drawn(s, cx - d, cy + d),
            drawn(s, cx + d, cy + d)};
}

TEST(DrawingSurfaceArcs, PieFromMinusPiToMinusHalfPiIsOpenUpperLeft) {
    DrawingSurface s = blank(41, 41);
    s.FillStyle = 0;
    s.Circle(20, 20, 15, std::nullopt, ArcAngles{kMinusPi, kMinusHalfPi});
    const Quadrants q = sampleQuadrants(s, 20, 20, 6);
    EXPECT_FALSE(q.upperLeft);
    EXPECT_TRUE(q.upperRight);
    EXPECT_TRUE(q.lowerLeft);
    EXPECT_TRUE(q.lowerRight);
    // Both radii are drawn: the pixels straight left and straight up of the centre.
    EXPECT_TRUE(drawn(s, 10, 20));
    EXPECT_TRUE(drawn(s, 20, 10));
}

TEST(DrawingSurfaceArcs, PieFromMinusHalfPiToMinusZeroIsOpenUpperRight) {
    DrawingSurface s = blank(41, 41);
    s.FillStyle = 0;
    s.Circle(20, 20, 15, std::nullopt, ArcAngles{kMinusHalfPi, -1e-8});
    const Quadrants q = sampleQuadrants(s, 20, 20, 6);
    EXPECT_TRUE(q.upperLeft);
    EXPECT_FALSE(q.upperRight);
    EXPECT_TRUE(q.lowerLeft);
    EXPECT_TRUE(q.lowerRight);
}

TEST(DrawingSurfaceArcs, MinusTinyAngleIsZeroWithARadius) {
    DrawingSurface pie = blank(41, 41);
    pie.DrawWidth = 3;
    pie.Circle(20, 20, 15, std::nullopt, ArcAngles{kMinusHalfPi, -1e-8});

    DrawingSurface built = blank(41, 41);
    built.DrawWidth = 3;
    built.Circle(20, 20, 15, std::nullopt, ArcAngles{kMinusHalfPi, 0});
    built.Line(20, 20, 35, 20);
    EXPECT_EQ(picture(pie), picture(built));
}

TEST(DrawingSurfaceArcs, OpenArcsLieOnTheirSideAndAreNeverFilled) {
    struct Case {
        double start, end;
        bool left;
    };
    for (const Case c :
         {Case{140 * kDegree, 220 * kDegree, true}, Case{320 * kDegree, 40 * kDegree, false}}) {
        DrawingSurface s = blank(61, 61);
        s.FillStyle = 0;
        s.FillColor = kBlue;
        s.DrawWidth = 3;
        s.Circle(30, 30, 20, std::nullopt, ArcAngles{c.start, c.end});
        const Box b = drawnBox(s);
        if (c.left) {
            EXPECT_EQ(b.left, 30 - 20 - 1);
            EXPECT_LT(b.right, 30 - 12);
        } else {
            EXPECT_GT(b.left, 30 + 12);
            EXPECT_EQ(b.right, 30 + 20 + 1);
        }
        EXPECT_EQ(picture(s).find('F'), std::string::npos);
    }
}

TEST(DrawingSurfaceArcs, EqualAnglesDrawTheWholeCurve) {
    DrawingSurface arc = blank(7, 7);
    arc.Circle(3, 3, 2, std::nullopt, ArcAngles{1, 1});
    DrawingSurface closed = blank(7, 7);
    closed.Circle(3, 3, 2);
    EXPECT_EQ(picture(arc), picture(closed));
}

// --- Attributes and colours ---------------------------------------------------------------------

TEST(DrawingSurfaceAttributes, SettingTheBackColourErasesTheDrawing) {
    DrawingSurface s = blank(8, 8);
    s.FillStyle = 0;
    s.Circle(4, 4, 3);
    s.setBackColor(kBlue);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(s.colourAt(x, y), kBlue);
}

TEST(DrawingSurfaceAttributes, SystemColoursResolveThroughThePaletteWhenDrawn) {
    DrawingSurface s = blank(5, 5);
    SystemPalette palette = SystemPalette::defaults();
    palette.colours[SystemPalette::kButtonFace] = rgb(1, 2, 3);
    s.setPalette(palette);
    s.ForeColor = 0x8000000Fu;
    s.Line(0, 0, 4, 0);
    EXPECT_EQ(s.ForeColor, 0x8000000Fu);
    EXPECT_EQ(s.pixel(2, 0), toPixel(rgb(1, 2, 3)));
}

TEST(DrawingSurfaceAttributes, ColourArgumentLeavesForeColourAlone) {
    DrawingSurface s = blank(7, 7);
    s.Circle(3, 3, 2, kBlue);
    EXPECT_EQ(s.ForeColor, kRed);
    EXPECT_EQ(s.colourAt(1, 3), kBlue);
}

TEST(DrawingSurfaceAttributes, PenWidthsBelowOneDrawAsOne) {
    DrawingSurface one = blank(20, 20);
    one.Circle(10, 10, 6);
    one.Line(0, 0, 19, 7);
    for (short w : {0, -1, -32768}) {
        DrawingSurface s = blank(20, 20);
        s.DrawWidth = w;
        s.Circle(10, 10, 6);
        s.Line(0, 0, 19, 7);
        EXPECT_EQ(picture(s), picture(one)) << "DrawWidth " << w;
    }
}

TEST(DrawingSurfaceAttributes, NegativeRadiusAndAspectCountAsTheirSize) {
    DrawingSurface positive = blank(30, 30);
    positive.Circle(15, 15, 9, std::nullopt, std::nullopt, 0.5);
    DrawingSurface negative = blank(30, 30);
    negative.Circle(15, 15, -9, std::nullopt, std::nullopt, -0.5);
    EXPECT_EQ(picture(negative), picture(positive));
}

TEST(DrawingSurfaceAttributes, ResizeFillsWithTheBackgroundAndResetsTheScale) {
    DrawingSurface s = blank(4, 4);
    s.setScale(2, 2);
    s.resize(3, -2);
    EXPECT_EQ(s.width(), 3);
    EXPECT_EQ(s.height(), 0);
    s.resize(3, 2);
    EXPECT_DOUBLE_EQ(s.scaleX(), 1);
    EXPECT_EQ(s.colourAt(2, 1), kWhite);
}

// --- Placement and clipping
// -----------------------------------------------------------------------

TEST(DrawingSurfacePlacement, SmallShapesDrawTheSameWhereverTheyAre) {
    // The same shape at two places must match pixel for pixel, whether it was just built or
    // taken from an earlier drawing.
    for (double scale : {0.1, 0.5, 1.0, 3.0}) {
        DrawingSurface s = blank(60, 30);
        s.setScale(static_cast<float>(60 / scale), static_cast<float>(30 / scale));
        s.DrawWidth = 2;
        const int unit = static_cast<int>(30 / scale);
        s.Circle(unit / 2, unit / 2, unit / 4, std::nullopt, ArcAngles{-0.5, 4});
        s.Circle(unit / 2 + unit, unit / 2, unit / 4, std::nullopt, ArcAngles{-0.5, 4});
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 30; ++x)
                ASSERT_EQ(s.pixel(x, y), s.pixel(x + 30, y)) << scale << " at " << x << "," << y;
    }
}

TEST(DrawingSurfacePlacement, ShapesFollowAScaleChange) {
    // Small shapes are remembered by their size in units, so a new scale, whether set or
    // copied in, must not bring back the old pixels.
    DrawingSurface twice = blank(40, 40);
    twice.setScale(20, 20);
    twice.Circle(10, 10, 3);

    DrawingSurface set = blank(40, 40);
    set.Circle(10, 10, 3);
    set.setScale(20, 20);
    set.clear();
    set.Circle(10, 10, 3);
    EXPECT_EQ(picture(set), picture(twice));

    DrawingSurface assigned = blank(40, 40);
    assigned.Circle(10, 10, 3);
    DrawingSurface scaled = blank(40, 40);
    scaled.setScale(20, 20);
    assigned = scaled;
    assigned.Circle(10, 10, 3);
    EXPECT_EQ(picture(assigned), picture(twice));
}

TEST(DrawingSurfacePlacement, ShapesCutByTheEdgeKeepTheirVisiblePart) {
    DrawingSurface whole = blank(21, 21);
    whole.FillStyle = 0;
    whole.DrawWidth = 3;
    whole.Circle(10, 10, 7);
    DrawingSurface cut = blank(11, 11);
    cut.FillStyle = 0;
    cut.DrawWidth = 3;
    cut.Circle(0, 0, 7);
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 11; ++x)
            ASSERT_EQ(cut.pixel(x, y), whole.pixel(x + 10, y + 10));
}

class ExtremeGeometry : public testing::TestWithParam<double> {};

TEST_P(ExtremeGeometry, StaysInsideTheBitmap) {
    // Run under the sanitizers, this proves nothing is read or written out of bounds and no
    // conversion overflows; the huge figures must also clip without walking their rows.
    const double scale = GetParam();
    const int values[] = {-32768, -1000, -1, 0, 1, 50, 32767};
    DrawingSurface s = blank(50, 40);
    s.setScale(static_cast<float>(50 / scale), static_cast<float>(40 / scale));
    s.FillStyle = 0;
    for (short pen : {short{1}, short{32767}}) {
        s.DrawWidth = pen;
        for (int x : values)
            for (int r : values) {
                s.Circle(x, x / 2, r);
                s.Circle(x, 20, r, std::nullopt, ArcAngles{-1, -5}, 0.3);
                s.Line(x, r, r, x);
            }
    }
    SUCCEED();
}

INSTANTIATE_TEST_SUITE_P(Scales, ExtremeGeometry, testing::Values(0.1, 1.0, 16.0, 1e6, 0.0),
                         [](const auto& info) { return test_names::NameOf("Scale", info.param); });

TEST(DrawingSurfacePlacement, ZeroSizedSurfaceAcceptsDrawing) {
    DrawingSurface s;
    s.FillStyle = 0;
    s.Circle(0, 0, 5);
    s.Line(-3, -3, 3, 3);
    s.setBackColor(kBlue);
    EXPECT_EQ(s.width(), 0);
}

// --- blit
// ------------------------------------------------------------------------------------------

DrawingSurface numbered(int w, int h) {
    DrawingSurface s(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            s.pixels()[y * w + x] = toPixel(rgb(x + 1, y + 1, 7));
    return s;
}

struct BlitCase {
    int x, y;
    int left, top, right, bottom; // destination pixels that change, inclusive
};

class BlitClipping : public testing::TestWithParam<BlitCase> {};

TEST_P(BlitClipping, CopiesExactlyTheOverlap) {
    const BlitCase c = GetParam();
    const DrawingSurface source = numbered(3, 2);
    DrawingSurface dest = blank(6, 4);
    blit(dest, source, c.x, c.y, RasterOp::Copy);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool inside = x >= c.left && x <= c.right && y >= c.top && y <= c.bottom;
            const Pixel want = inside ? source.pixel(x - c.x, y - c.y) : toPixel(kWhite);
            ASSERT_EQ(dest.pixel(x, y), want) << x << "," << y;
        }
}

INSTANTIATE_TEST_SUITE_P(Offsets, BlitClipping,
                         testing::Values(BlitCase{2, 1, 2, 1, 4, 2}, BlitCase{-1, -1, 0, 0, 1, 0},
                                         BlitCase{4, 3, 4, 3, 5, 3}, BlitCase{6, 0, 0, 0, -1, -1},
                                         BlitCase{0, -2, 0, 0, -1, -1},
                                         BlitCase{INT_MAX, INT_MAX, 0, 0, -1, -1},
                                         BlitCase{INT_MIN, INT_MIN, 0, 0, -1, -1}),
                         [](const auto& info) {
                             return test_names::NameOf("At", info.param.x, "_", info.param.y);
                         });

TEST(Blit, AndAndXorCombineColourChannelsOnly) {
    DrawingSurface dest(1, 1), source(1, 1);
    dest.pixels()[0] = 0xFF123456u;
    source.pixels()[0] = 0xFF0F0FF0u;
    blit(dest, source, 0, 0, RasterOp::And);
    EXPECT_EQ(dest.pixel(0, 0), 0xFF020450u);
    blit(dest, source, 0, 0, RasterOp::Xor);
    EXPECT_EQ(dest.pixel(0, 0), 0xFF0D0BA0u);
    blit(dest, source, 0, 0, RasterOp::Xor);
    EXPECT_EQ(dest.pixel(0, 0), 0xFF020450u);
}

TEST(Blit, OntoItselfReadsTheOriginal) {
    DrawingSurface s = numbered(4, 3);
    const DrawingSurface before = s;
    blit(s, s, 1, 1, RasterOp::Copy);
    for (int y = 1; y < 3; ++y)
        for (int x = 1; x < 4; ++x)
            ASSERT_EQ(s.pixel(x, y), before.pixel(x - 1, y - 1));
    EXPECT_EQ(s.pixel(0, 0), before.pixel(0, 0));
}

} // namespace
} // namespace tidepool
