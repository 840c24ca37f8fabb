// Drawing from stamps must give what drawing every figure on its own gives: the same pixels, the
// same corrected fields, the same render state and the same attributes left on the canvas, over
// settings drawn at random from the whole range the window accepts.
#include "render/draw_job.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>

namespace tidepool {
namespace {

class SettingsMaker {
  public:
    explicit SettingsMaker(unsigned seed) : rng_(seed) {}

    MainSettings next() {
        MainSettings s;
        s.width = std::to_string(pick(16, 360));
        s.height = std::to_string(pick(16, 360));
        s.magnification = decimal(0.1, 3.5);
        s.spacing = decimal(0.85, 2);
        s.layout = coin() ? Layout::Slide : Layout::Standard;
        s.mode = coin() ? DrawMode::Normal : DrawMode::Frame;
        s.crabShadow = pick(0, 3) != 0;
        s.shadowWidth = decimal(-3, 9);
        s.bubbles = pick(0, 3) != 0;
        s.bubbleSpacing = decimal(0.5, 2);
        s.bubbleShadow = coin();
        s.bubbleCrabColour = coin();
        s.bubbleShiftX = std::to_string(pick(-60, 60));
        s.bubbleShiftY = std::to_string(pick(-60, 60));
        for (bool& ticked : s.eyeShapes)
            ticked = coin();
        s.eyeShift = std::to_string(pick(0, 5));
        s.colourRole = static_cast<ColourRole>(pick(0, 3));
        for (Colour& swatch : s.swatches)
            swatch = colour();
        s.fixedColours = coin();
        s.usePicture = pick(0, 4) == 0;
        return s;
    }

    // Fixed colours and a small background picture of random colours.
    void vary(RenderSettings& render, DrawingSurface& picture) {
        for (std::size_t i = 1; i < render.FixedColours.size(); ++i)
            render.FixedColours[i] = colour();
        picture.resize(pick(1, 9), pick(1, 9));
        for (int i = 0; i < picture.width() * picture.height(); ++i)
            picture.pixels()[i] = 0xFF000000u | static_cast<Pixel>(pick(0, 0xFFFFFF));
    }

  private:
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool coin() { return pick(0, 1) == 1; }
    std::string decimal(double lo, double hi) {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f",
                      std::uniform_real_distribution<double>(lo, hi)(rng_));
        return text;
    }
    // Mostly plain colours; now and then a system colour, which is resolved when drawn.
    Colour colour() {
        if (pick(0, 5) == 0)
            return 0x80000000u | static_cast<Colour>(pick(13, 20));
        return static_cast<Colour>(pick(0, 0xFFFFFF));
    }

    std::mt19937 rng_;
};

struct Drawing {
    MainSettings settings;
    RenderSettings render;
    DrawingSurface canvas;
    WorkBuffers buffers;
};

Drawing Draw(const MainSettings& settings, const RenderSettings& render,
             const DrawingSurface& picture, DrawPath path) {
    Drawing d{settings, render, CreateCanvas(settings, render.palette), {}};
    DrawJobServices services;
    services.fileExists = [](const std::string&) { return true; };
    services.loadPicture = [&picture](DrawingSurface& target, const std::string&) {
        target = picture;
        return 0;
    };
    DrawJob(d.settings, d.render, d.canvas, d.buffers, services, path);
    return d;
}

std::string Describe(const MainSettings& s) {
    return "size " + s.width + "x" + s.height + ", magnification " + s.magnification +
           ", spacing " + s.spacing + (s.mode == DrawMode::Frame ? ", frame" : ", normal") +
           (s.layout == Layout::Slide ? ", slide" : ", standard") + ", shadow width " +
           s.shadowWidth + ", bubble spacing " + s.bubbleSpacing + ", shift " + s.bubbleShiftX +
           "," + s.bubbleShiftY + (s.usePicture ? ", picture" : "");
}

// Where two canvases first differ, or nothing.
std::string FirstDifference(const DrawingSurface& a, const DrawingSurface& b) {
    if (a.width() != b.width() || a.height() != b.height())
        return "the sizes differ";
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return "pixel " + std::to_string(x) + "," + std::to_string(y);
    return {};
}

void ExpectSameDrawing(const Drawing& plain, const Drawing& other, const std::string& what) {
    EXPECT_EQ(FirstDifference(plain.canvas, other.canvas), "") << what;
    EXPECT_EQ(plain.settings.shadowWidth, other.settings.shadowWidth) << what;
    EXPECT_EQ(plain.render.UseFixedColours, other.render.UseFixedColours) << what;
    EXPECT_EQ(plain.render.BubblesInCrabColour, other.render.BubblesInCrabColour) << what;
    EXPECT_EQ(plain.render.SuppressBubbles, other.render.SuppressBubbles) << what;
    const int frame = plain.render.themes.frameIndex();
    EXPECT_EQ(plain.render.themes[frame].Foreground, other.render.themes[frame].Foreground) << what;
    EXPECT_EQ(plain.canvas.DrawWidth, other.canvas.DrawWidth) << what;
    EXPECT_EQ(plain.canvas.FillStyle, other.canvas.FillStyle) << what;
    EXPECT_EQ(plain.canvas.ForeColor, other.canvas.ForeColor) << what;
    EXPECT_EQ(plain.canvas.FillColor, other.canvas.FillColor) << what;
}

bool LayersAllocated(const Drawing& d) {
    return std::any_of(d.buffers.layers.begin(), d.buffers.layers.end(),
                       [](const DrawingSurface& layer) { return layer.width() > 0; });
}

class DrawPathsAgree : public testing::TestWithParam<unsigned> {};

TEST_P(DrawPathsAgree, OnRandomSettings) {
    SettingsMaker maker(GetParam());
    for (int n = 0; n < 20; ++n) {
        const MainSettings settings = maker.next();
        RenderSettings render;
        DrawingSurface picture;
        maker.vary(render, picture);
        const std::string what = Describe(settings);

        const Drawing plain = Draw(settings, render, picture, DrawPath::Plain);
        const Drawing stamped = Draw(settings, render, picture, DrawPath::Stamped);
        ExpectSameDrawing(plain, stamped, "stamped, " + what);
        // Stamps fit every figure at these sizes, so nothing may have been drawn one by one.
        if (settings.mode == DrawMode::Normal)
            EXPECT_TRUE(stamped.canvas.extent().empty()) << "a primitive was drawn: " << what;
        else
            EXPECT_FALSE(LayersAllocated(stamped)) << "the layer buffers were used: " << what;
        ExpectSameDrawing(plain, Draw(settings, render, picture, DrawPath::Fast), "fast, " + what);
        if (HasFailure())
            return;
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, DrawPathsAgree, testing::Range(1u, 11u));

// The densest picture the window can ask for, cut down to a corner: the classes of columns and
// rows are at their most numerous at the smallest magnification.
TEST(DrawPathsAgree, AtTheSmallestMagnificationWithEveryShapeInTurn) {
    MainSettings settings;
    settings.width = "600", settings.height = "500", settings.magnification = "0.1";
    settings.spacing = "0.85", settings.bubbleSpacing = "0.5";
    settings.eyeShapes = {true, true, true, true, true};
    settings.eyeShift = "3";
    for (DrawMode mode : {DrawMode::Normal, DrawMode::Frame}) {
        settings.mode = mode;
        const RenderSettings render;
        const DrawingSurface picture;
        const Drawing plain = Draw(settings, render, picture, DrawPath::Plain);
        ExpectSameDrawing(plain, Draw(settings, render, picture, DrawPath::Fast),
                          mode == DrawMode::Frame ? "frame" : "normal");
    }
}

} // namespace
} // namespace tidepool
