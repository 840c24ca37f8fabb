#include "tests/support/raster_reference.h"

#include "render/raster/drawing_surface.h"
#include "tests/support/test_name.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <vector>

namespace tidepool {
namespace {

using reference::Cover;
using reference::Coverage;

constexpr Colour kBack = rgb(0xFF, 0xFF, 0xFF);
constexpr Colour kOutline = rgb(0xFF, 0, 0);
constexpr Colour kFill = rgb(0, 0, 0xFF);
constexpr int kWidth = 96;
constexpr int kHeight = 72;

// One randomly chosen primitive call.
struct Shape {
    bool line = false;
    int x = 0, y = 0, r = 0, x2 = 0, y2 = 0;
    std::optional<ArcAngles> angles;
    double aspect = 1;
    short pen = 1;
    bool filled = false;
    bool oneColour = false;
};

class ShapeMaker {
  public:
    ShapeMaker(unsigned seed, double scale) : rng_(seed), scale_(scale) {}

    Shape next() {
        Shape s;
        s.line = pick(4) == 0;
        s.pen = static_cast<short>(pick(4) == 0 ? 1 + pick(18) : 1 + pick(3));
        s.filled = pick(2) == 0;
        s.oneColour = pick(2) == 0;
        s.x = unitsAround(kWidth);
        s.y = unitsAround(kHeight);
        if (s.line) {
            const double reach = pixels();
            s.x2 = s.x + static_cast<int>(uniform(-reach, reach) / scale_);
            s.y2 = s.y + static_cast<int>(uniform(-reach, reach) / scale_);
            return s;
        }
        s.r = static_cast<int>(pixels() / scale_);
        const double aspects[] = {1, 0.9, uniform(0.2, 1), uniform(1, 3)};
        s.aspect = aspects[pick(4)];
        if (pick(3) != 0)
            s.angles = ArcAngles{angle(), angle()};
        return s;
    }

  private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    double uniform(double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(rng_);
    }

    // A coordinate in units somewhere around a side of the surface, often just off it.
    int unitsAround(int pixelsLong) {
        return static_cast<int>(uniform(-0.4 * pixelsLong, 1.4 * pixelsLong) / scale_);
    }

    // A size in pixels: mostly tiny, sometimes far bigger than the surface.
    double pixels() {
        switch (pick(3)) {
        case 0:
            return uniform(0, 3);
        case 1:
            return uniform(0, 20);
        default:
            return uniform(0, 150);
        }
    }

    // An angle argument as the renderer writes them, including the -1e-8 of "0 with a radius".
    double angle() {
        switch (pick(6)) {
        case 0:
            return -1e-8;
        case 1:
            return -1.570796 * (1 + pick(4));
        default:
            return uniform(-7, 7);
        }
    }

    std::mt19937 rng_;
    double scale_;
};

void draw(DrawingSurface& s, const Shape& shape) {
    s.DrawWidth = shape.pen;
    s.FillStyle = shape.filled ? 0 : 1;
    s.ForeColor = kOutline;
    s.FillColor = shape.oneColour ? kOutline : kFill;
    if (shape.line)
        s.Line(shape.x, shape.y, shape.x2, shape.y2);
    else
        s.Circle(shape.x, shape.y, shape.r, std::nullopt, shape.angles, shape.aspect);
}

Coverage expected(const DrawingSurface& s, const Shape& shape) {
    reference::Pen pen{s.scaleX(), s.scaleY(), shape.pen, shape.filled};
    if (shape.line)
        return reference::lineCoverage(kWidth, kHeight, pen, shape.x, shape.y, shape.x2, shape.y2);
    return reference::circleCoverage(kWidth, kHeight, pen, shape.x, shape.y, shape.r, shape.angles,
                                     shape.aspect);
}

Colour colourOf(Cover c, const Shape& shape) {
    switch (c) {
    case Cover::None:
        return kBack;
    case Cover::Fill:
        return shape.oneColour ? kOutline : kFill;
    case Cover::Outline:
        return kOutline;
    }
    return kBack;
}

std::string describe(const Shape& s) {
    char text[200];
    std::snprintf(
        text, sizeof text, "%s x=%d y=%d r=%d to=(%d,%d) angles=%s%g,%g aspect=%g pen=%d filled=%d",
        s.line ? "Line" : "Circle", s.x, s.y, s.r, s.x2, s.y2, s.angles ? "" : "none ",
        s.angles ? s.angles->start : 0, s.angles ? s.angles->end : 0, s.aspect, s.pen, s.filled);
    return text;
}

struct Tally {
    long pixelsDrawn = 0;
    long forgiven = 0; // mismatches on pixels within a hair of a boundary
};

// Draws the shape on the shared surface (so earlier shapes' stencils are reused) and compares
// every pixel with the reference. Returns false after reporting a real mismatch.
bool matchesReference(DrawingSurface& s, const Shape& shape, Tally& tally) {
    s.clear();
    draw(s, shape);
    const Coverage want = expected(s, shape);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const std::size_t i = std::size_t(y) * kWidth + x;
            const Colour w = colourOf(want.cover[i], shape);
            const Colour got = s.colourAt(x, y);
            tally.pixelsDrawn += got != kBack;
            if (got == w)
                continue;
            if (want.nearBoundary[i]) {
                ++tally.forgiven;
                continue;
            }
            ADD_FAILURE() << describe(shape) << " scale " << s.scaleX() << ": pixel " << x << ","
                          << y << " is " << std::hex << got << ", reference " << w;
            return false;
        }
    return true;
}

class AgreesWithReference : public testing::TestWithParam<double> {};

TEST_P(AgreesWithReference, OnRandomShapes) {
    const double scale = GetParam();
    DrawingSurface s(kWidth, kHeight);
    s.setBackColor(kBack);
    s.setScale(static_cast<float>(kWidth / scale), static_cast<float>(kHeight / scale));
    ShapeMaker maker(20240611u + static_cast<unsigned>(scale * 100), scale);
    Tally tally;
    std::vector<Shape> shapes;
    for (int n = 0; n < 400; ++n) {
        Shape shape = maker.next();
        // Now and then the same shape again elsewhere: its stencil comes from the cache.
        if (n % 5 == 4) {
            shape = shapes[n / 2];
            shape.x += static_cast<int>(13 / scale);
            shape.y -= static_cast<int>(7 / scale);
        }
        shapes.push_back(shape);
        if (!matchesReference(s, shape, tally))
            return;
    }
    EXPECT_GT(tally.pixelsDrawn, 0);
    // Boundary ties are rare; many would mean the two disagree about the rule itself.
    EXPECT_LT(tally.forgiven * 1000, tally.pixelsDrawn + 1000);
    std::printf("scale %g: %ld pixels drawn, %ld boundary ties forgiven\n", scale,
                tally.pixelsDrawn, tally.forgiven);
}

INSTANTIATE_TEST_SUITE_P(Scales, AgreesWithReference, testing::Values(0.1, 0.5, 1.0, 2.0, 16.0),
                         [](const auto& info) { return test_names::NameOf("Scale", info.param); });

} // namespace
} // namespace tidepool
