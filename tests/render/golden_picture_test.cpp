// Whole pictures of a few real settings against committed expectations. After a deliberate change
// to the drawing, run with TIDEPOOL_UPDATE_GOLDEN=1 to rewrite them, and look at them.
#include "render/draw_job.h"
#include "tests/support/picture_diff.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

namespace tidepool {
namespace {

namespace fs = std::filesystem;
using testing_support::DescribeDifference;

struct PictureCase {
    std::string name;
    std::function<void(MainSettings&)> adjust;
};

void PrintTo(const PictureCase& c, std::ostream* out) {
    *out << c.name;
}

DrawingSurface Draw(const PictureCase& c) {
    MainSettings settings;
    c.adjust(settings);
    RenderSettings render;
    DrawingSurface canvas = CreateCanvas(settings, render.palette);
    WorkBuffers buffers;
    DrawJob(settings, render, canvas, buffers, {});
    return canvas;
}

class GoldenPictureTest : public testing::TestWithParam<PictureCase> {};

TEST_P(GoldenPictureTest, MatchesTheCommittedPicture) {
    const PictureCase& c = GetParam();
    DrawingSurface actual = Draw(c);
    fs::path expectedPath = fs::path(TIDEPOOL_GOLDEN_DIR) / (c.name + ".ppm");
    if (std::getenv("TIDEPOOL_UPDATE_GOLDEN")) {
        ASSERT_TRUE(testing_support::WritePpm(actual, expectedPath));
        GTEST_SKIP() << "rewrote " << expectedPath;
    }
    auto expected = testing_support::ReadPpm(expectedPath);
    ASSERT_TRUE(expected) << "cannot read " << expectedPath;
    std::string difference = DescribeDifference(*expected, actual);
    if (!difference.empty()) {
        fs::path actualPath = fs::current_path() / (c.name + ".actual.ppm");
        testing_support::WritePpm(actual, actualPath);
        FAIL() << c.name << ": " << difference << "\nactual picture: " << actualPath;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Settings, GoldenPictureTest,
    testing::Values(
        // What the first press of the draw button gives.
        PictureCase{"startup", [](MainSettings&) {}},
        PictureCase{"frame_shadow_background_role",
                    [](MainSettings& s) {
                        s.width = "200", s.height = "150", s.magnification = "0.5";
                        s.mode = DrawMode::Frame;
                        s.layout = Layout::Standard;
                        s.colourRole = ColourRole::Background;
                        s.swatches = {0x808000, 0xC0C000, 0xFFFF00};
                        s.fixedColours = false;
                        s.shadowWidth = "3";
                    }},
        PictureCase{"every_eye_shape",
                    [](MainSettings& s) {
                        s.width = "320", s.height = "240", s.magnification = "2";
                        s.spacing = "1.3";
                        s.eyeShapes = {true, true, true, true, true};
                        s.eyeShift = "2";
                        s.fixedColours = false;
                        s.bubbleCrabColour = true;
                        s.colourRole = ColourRole::Middle;
                        s.swatches = {0x586078, 0x9098A8, 0xC8D0D8};
                    }},
        PictureCase{"dense_tiny_crabs",
                    [](MainSettings& s) {
                        s.width = "160", s.height = "120", s.magnification = "0.1";
                        s.spacing = "0.85", s.bubbleSpacing = "0.5";
                        s.bubbleShiftX = "-7", s.bubbleShiftY = "5";
                    }},
        PictureCase{"thick_pen_frame_no_shadow",
                    [](MainSettings& s) {
                        s.width = "420", s.height = "380", s.magnification = "3.5";
                        s.mode = DrawMode::Frame;
                        s.crabShadow = false;
                        s.eyeShapes = {false, false, false, true, true};
                        s.swatches = {0x2FA5D7, 0x9DD5EC, 0xCFEAF5};
                    }}),
    [](const testing::TestParamInfo<PictureCase>& info) { return info.param.name; });

} // namespace
} // namespace tidepool
