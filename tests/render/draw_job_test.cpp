#include "render/draw_job.h"
#include "render/figure/background.h"
#include "render/tiling/tile_crabs.h"

#include "tests/support/test_name.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace tidepool {
namespace {

// --- Field correction -------------------------------------------------------------------------

struct CorrectionCase {
    std::string MainSettings::*field;
    std::string typed;
    std::string corrected;
};

class CorrectFieldsTest : public testing::TestWithParam<CorrectionCase> {};

// The values the job draws with are the ones the corrected texts read back as.
TEST_P(CorrectFieldsTest, RewritesOnlyValuesAtOrBeyondTheBounds) {
    MainSettings s;
    s.*GetParam().field = GetParam().typed;
    const DrawSettings values = CorrectDrawSettings(s);
    EXPECT_EQ(s.*GetParam().field, GetParam().corrected) << "typed " << GetParam().typed;
    EXPECT_EQ(values, ReadDrawSettings(s));
}

using S = MainSettings;
using test_names::NameOf;

// The field a member pointer stands for, to name the cases by.
std::string FieldName(std::string MainSettings::*field) {
    static const std::array<std::pair<std::string MainSettings::*, const char*>, 9> kFields{{
        {&S::width, "Width"},
        {&S::height, "Height"},
        {&S::magnification, "Magnification"},
        {&S::spacing, "Spacing"},
        {&S::shadowWidth, "ShadowWidth"},
        {&S::bubbleSpacing, "BubbleSpacing"},
        {&S::bubbleShiftX, "BubbleShiftX"},
        {&S::bubbleShiftY, "BubbleShiftY"},
        {&S::eyeShift, "EyeShift"},
    }};
    for (const auto& [member, name] : kFields)
        if (member == field)
            return name;
    return "Field";
}

// "10100" for the first and third eye-shape boxes ticked.
std::string TickedBoxes(const std::array<bool, 5>& ticked) {
    std::string boxes;
    for (bool box : ticked)
        boxes += box ? '1' : '0';
    return boxes;
}
INSTANTIATE_TEST_SUITE_P(
    Fields, CorrectFieldsTest,
    testing::Values(
        CorrectionCase{&S::width, "10", "16"}, CorrectionCase{&S::width, "016", "16"},
        CorrectionCase{&S::width, "16", "16"}, CorrectionCase{&S::width, "17", "17"},
        CorrectionCase{&S::width, "2399", "2399"}, CorrectionCase{&S::width, "2400", "2400"},
        CorrectionCase{&S::width, "3000", "2400"}, CorrectionCase{&S::width, "", "16"},
        CorrectionCase{&S::width, "abc", "16"}, CorrectionCase{&S::width, "1e9", "2400"},
        CorrectionCase{&S::width, "-5", "16"}, CorrectionCase{&S::width, "1e999", "2400"},
        CorrectionCase{&S::width, "800px", "800px"}, CorrectionCase{&S::height, "9", "16"},
        CorrectionCase{&S::height, "9999", "2400"},
        CorrectionCase{&S::magnification, "0.05", "0.1"},
        CorrectionCase{&S::magnification, "0.1", "0.1"},
        CorrectionCase{&S::magnification, "0.0000001", "0.1"},
        CorrectionCase{&S::magnification, "16", "16.0"},
        CorrectionCase{&S::magnification, "15.9", "15.9"},
        CorrectionCase{&S::spacing, "0.5", "0.85"}, CorrectionCase{&S::spacing, "2", "2.0"},
        CorrectionCase{&S::spacing, "1.2.3", "1.2.3"}, CorrectionCase{&S::shadowWidth, "12", "9.0"},
        CorrectionCase{&S::shadowWidth, "9", "9.0"}, CorrectionCase{&S::shadowWidth, "0", "0"},
        CorrectionCase{&S::shadowWidth, "-5", "-5"},
        CorrectionCase{&S::bubbleSpacing, "0.3", "0.5"},
        CorrectionCase{&S::bubbleSpacing, "2", "2.0"},
        CorrectionCase{&S::bubbleShiftX, "-999", "-999"}),
    [](const auto& info) { return NameOf(FieldName(info.param.field), info.param.typed); });

struct ShiftCase {
    std::array<bool, 5> ticked;
    std::string typed;
    std::string corrected;
};

class EyeShiftCorrectionTest : public testing::TestWithParam<ShiftCase> {};

TEST_P(EyeShiftCorrectionTest, IsAtMostTheNumberOfTickedShapes) {
    MainSettings s;
    s.eyeShapes = GetParam().ticked;
    s.eyeShift = GetParam().typed;
    const DrawSettings values = CorrectDrawSettings(s);
    EXPECT_EQ(s.eyeShift, GetParam().corrected);
    EXPECT_EQ(values, ReadDrawSettings(s));
}

INSTANTIATE_TEST_SUITE_P(Shifts, EyeShiftCorrectionTest,
                         testing::Values(ShiftCase{{true, false, false, false, false}, "3", "1"},
                                         ShiftCase{{false, false, false, false, false}, "4", "0"},
                                         ShiftCase{{false, false, false, false, false}, "", ""},
                                         ShiftCase{{true, true, true, true, true}, "5", "5"},
                                         ShiftCase{{true, true, false, false, false}, "9", "2"}),
                         [](const auto& info) {
                             return NameOf("Ticked", TickedBoxes(info.param.ticked), "Shift",
                                           info.param.typed);
                         });

// --- The job ----------------------------------------------------------------------------------

constexpr Colour kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;

struct JobRun {
    MainSettings settings;
    RenderSettings render;
    DrawingSurface canvas = CreateCanvas(MainSettings{}, SystemPalette::defaults());
    WorkBuffers buffers;
    std::vector<std::string> messages;
    bool fileThere = false;
    int loadResult = 0;
    DrawingSurface loadedPicture;
    DrawPath path = DrawPath::Fast;

    void run() {
        DrawJobServices services;
        services.fileExists = [this](const std::string&) { return fileThere; };
        services.loadPicture = [this](DrawingSurface& target, const std::string&) {
            if (loadResult == 0)
                target = loadedPicture;
            return loadResult;
        };
        services.showMessage = [this](std::string_view m) { messages.emplace_back(m); };
        DrawJob(settings, render, canvas, buffers, services, path);
    }
};

std::set<Colour> ColoursOf(const DrawingSurface& s) {
    std::set<Colour> colours;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            colours.insert(s.colourAt(x, y));
    return colours;
}

TEST(DrawJobTest, SizesTheCanvasAndItsScaleFromTheCorrectedFields) {
    JobRun job;
    job.settings.width = "10";
    job.settings.height = "300";
    job.settings.magnification = "2";
    job.run();
    EXPECT_EQ(job.settings.width, "16");
    EXPECT_EQ(job.canvas.width(), 16);
    EXPECT_EQ(job.canvas.height(), 300);
    EXPECT_FLOAT_EQ(job.canvas.unitsAcross(), 8);
    EXPECT_FLOAT_EQ(job.canvas.unitsDown(), 150);
}

TEST(DrawJobTest, NormalModeLeavesTheLayerBuffersUnallocated) {
    JobRun job;
    job.run();
    for (const DrawingSurface& layer : job.buffers.layers)
        EXPECT_EQ(layer.width() * layer.height(), 0);
}

TEST(DrawJobTest, SetsTheRenderFlagsFromTheCheckBoxes) {
    JobRun job;
    job.settings.fixedColours = false;
    job.settings.bubbleCrabColour = true;
    job.render.SuppressBubbles = 1;
    job.run();
    EXPECT_EQ(job.render.UseFixedColours, 0);
    EXPECT_EQ(job.render.BubblesInCrabColour, 1);
    EXPECT_EQ(job.render.SuppressBubbles, 0);
}

TEST(DrawJobTest, SameSettingsGiveTheSamePicture) {
    JobRun first, second;
    first.settings.mode = second.settings.mode = DrawMode::Frame;
    first.run();
    second.run();
    second.run();
    ASSERT_EQ(first.canvas.width(), second.canvas.width());
    EXPECT_TRUE(std::equal(first.canvas.pixels(),
                           first.canvas.pixels() + first.canvas.width() * first.canvas.height(),
                           second.canvas.pixels()));
}

struct RoleCase {
    ColourRole role;
    bool shadow;
    std::set<Colour> colours; // swatches red, green, blue
    Colour corner;            // the canvas colour, seen at pixel (0, 0)
};

// ColourRole's values in order, to name the cases by.
constexpr const char* kRoleNames[] = {"Foreground", "Middle", "Background", "None"};

class FrameColourTest : public testing::TestWithParam<RoleCase> {};

TEST_P(FrameColourTest, CrabsShadowsAndCanvasTakeTheRoleSwatches) {
    JobRun job;
    job.settings.mode = DrawMode::Frame;
    job.settings.swatches = {kRed, kGreen, kBlue};
    job.settings.fixedColours = false;
    job.settings.bubbles = false;
    job.settings.layout = Layout::Standard;
    job.settings.colourRole = GetParam().role;
    job.settings.crabShadow = GetParam().shadow;
    job.run();
    EXPECT_EQ(ColoursOf(job.canvas), GetParam().colours);
    EXPECT_EQ(job.canvas.colourAt(0, 0), GetParam().corner);
}

INSTANTIATE_TEST_SUITE_P(
    Roles, FrameColourTest,
    testing::Values(RoleCase{ColourRole::Foreground, true, {kRed, kGreen, kBlue}, kBlue},
                    RoleCase{ColourRole::Middle, true, {kGreen, kRed, kBlue}, kBlue},
                    RoleCase{ColourRole::Background, true, {kBlue, kRed, kGreen}, kGreen},
                    RoleCase{ColourRole::Background, false, {kBlue, kRed}, kRed},
                    RoleCase{ColourRole::Foreground, false, {kRed, kBlue}, kBlue}),
    [](const auto& info) {
        return NameOf(kRoleNames[static_cast<int>(info.param.role)],
                      info.param.shadow ? "WithShadow" : "WithoutShadow");
    });

// In normal mode the crabs take their body and pattern colours from the swatches themselves; the
// job only sets the canvas colour.
struct NormalRoleCase {
    ColourRole role;
    Colour body;
    Colour pattern; // also the shadow crabs' edge
    Colour canvas;
};

void PrintTo(const NormalRoleCase& c, std::ostream* out) {
    *out << kRoleNames[static_cast<int>(c.role)];
}

class NormalColourTest : public testing::TestWithParam<NormalRoleCase> {};

TEST_P(NormalColourTest, BodyPatternAndCanvasTakeTheRoleSwatches) {
    const NormalRoleCase& c = GetParam();
    JobRun job;
    job.settings.swatches = {kRed, kGreen, kBlue};
    job.settings.fixedColours = false;
    job.settings.bubbles = false;
    job.settings.layout = Layout::Standard;
    job.settings.colourRole = c.role;
    job.run();
    EXPECT_EQ(ColoursOf(job.canvas), (std::set<Colour>{c.body, c.pattern, c.canvas}));
    EXPECT_EQ(job.canvas.colourAt(0, 0), c.canvas);
    // The first crab of the standard layout sits at (-1, 2); its body's centre is at (60, 72).
    EXPECT_EQ(job.canvas.colourAt(59, 74), c.body);
}

INSTANTIATE_TEST_SUITE_P(
    Roles, NormalColourTest,
    testing::Values(NormalRoleCase{ColourRole::Foreground, kRed, kGreen, kBlue},
                    NormalRoleCase{ColourRole::Middle, kGreen, kRed, kBlue},
                    NormalRoleCase{ColourRole::Background, kBlue, kGreen, kRed}),
    [](const auto& info) { return std::string(kRoleNames[static_cast<int>(info.param.role)]); });

TEST(DrawJobTest, FrameModeLeavesTheShadowColourInTheFrameEntry) {
    JobRun job;
    job.settings.mode = DrawMode::Frame;
    job.settings.swatches = {kRed, kGreen, kBlue};
    job.run();
    EXPECT_EQ(job.render.themes[job.render.themes.frameIndex()].Foreground, kGreen);
    EXPECT_EQ(job.render.UseFixedColours, 0);
    EXPECT_EQ(job.render.BubblesInCrabColour, 1);
    EXPECT_EQ(job.render.themes[1].Foreground, 0x0000FFu);
}

// A frame drawing leaves the render state its last layers were drawn in: the crab layers' without
// the shadow, the shadow layers' with it.
struct FrameStateCase {
    bool crabShadow;
    bool bubbleShadow;
    Colour frameForeground;
    std::int16_t useFixedColours, bubblesInCrabColour, suppressBubbles;
};

class FrameStateTest : public testing::TestWithParam<FrameStateCase> {};

TEST_P(FrameStateTest, IsTheStateOfTheLastLayersDrawn) {
    JobRun job;
    job.settings.mode = DrawMode::Frame;
    job.settings.swatches = {kRed, kGreen, kBlue};
    job.settings.crabShadow = GetParam().crabShadow;
    job.settings.bubbleShadow = GetParam().bubbleShadow;
    job.run();
    EXPECT_EQ(job.render.themes[job.render.themes.frameIndex()].Foreground,
              GetParam().frameForeground);
    EXPECT_EQ(job.render.UseFixedColours, GetParam().useFixedColours);
    EXPECT_EQ(job.render.BubblesInCrabColour, GetParam().bubblesInCrabColour);
    EXPECT_EQ(job.render.SuppressBubbles, GetParam().suppressBubbles);
}

INSTANTIATE_TEST_SUITE_P(Shadows, FrameStateTest,
                         testing::Values(FrameStateCase{false, false, kRed, 1, 0, 0},
                                         FrameStateCase{true, false, kGreen, 0, 1, 1},
                                         FrameStateCase{true, true, kGreen, 0, 1, 0}),
                         [](const auto& info) {
                             return NameOf(info.param.crabShadow ? "Shadow" : "NoShadow",
                                           info.param.bubbleShadow ? "BubbleShadow" : "");
                         });

// The frame picture rebuilt by hand from the four layers at the offsets the shadow width gives,
// against the picture drawn without them.
struct OffsetCase {
    std::string shadowWidth;
    int offset;
};

class FrameOffsetTest : public testing::TestWithParam<OffsetCase> {};

TEST_P(FrameOffsetTest, ShadowLayersSitAtTheRoundedShadowWidthPlusOne) {
    JobRun job, layered;
    for (JobRun* run : {&job, &layered}) {
        run->settings.mode = DrawMode::Frame;
        run->settings.shadowWidth = GetParam().shadowWidth;
        run->settings.swatches = {kRed, kGreen, kBlue};
    }
    layered.path = DrawPath::Plain;
    job.run();
    layered.run();

    DrawingSurface expected = job.canvas;
    expected.setBackColor(kBlue);
    const auto& layers = layered.buffers.layers;
    blit(expected, layers[3], GetParam().offset, GetParam().offset, RasterOp::And);
    blit(expected, layers[2], GetParam().offset, GetParam().offset, RasterOp::Xor);
    blit(expected, layers[1], 1, 1, RasterOp::And);
    blit(expected, layers[0], 1, 1, RasterOp::Xor);
    EXPECT_TRUE(std::equal(expected.pixels(), expected.pixels() + 240 * 320, job.canvas.pixels()));
}

INSTANTIATE_TEST_SUITE_P(Widths, FrameOffsetTest,
                         testing::Values(OffsetCase{"2", 3}, OffsetCase{"1.5", 2},
                                         OffsetCase{"2.5", 4}, OffsetCase{"0", 1},
                                         OffsetCase{"-3", -2}, OffsetCase{"-1e30", -1000000000}),
                         [](const auto& info) { return NameOf("Width", info.param.shadowWidth); });

TEST(DrawJobTest, FrameLayersHoldOnlyTheColoursDrawn) {
    JobRun job;
    job.path = DrawPath::Plain;
    job.settings.mode = DrawMode::Frame;
    job.settings.swatches = {kRed, kGreen, kBlue};
    job.run();
    const auto& layers = job.buffers.layers;
    EXPECT_EQ(ColoursOf(layers[0]), (std::set<Colour>{0x000000, kRed, 0x00FFFF, 0xFFFFFF}))
        << "fixed body red, pattern yellow, eyes black, bubbles white on black";
    EXPECT_EQ(ColoursOf(layers[1]), (std::set<Colour>{0x000000, 0xFFFFFF}));
    EXPECT_EQ(ColoursOf(layers[2]), (std::set<Colour>{0x000000, kGreen}));
    EXPECT_EQ(ColoursOf(layers[3]), (std::set<Colour>{0x000000, 0xFFFFFF}));
}

// Any text in any field draws without overflowing anything; the sanitizer build checks the
// conversions. The fields the job leaves unchecked are the ones that matter most.
struct JunkCase {
    std::string MainSettings::*field;
    std::string text;
};

class JunkFieldTest : public testing::TestWithParam<JunkCase> {};

TEST_P(JunkFieldTest, DrawsInBothModes) {
    for (DrawMode mode : {DrawMode::Normal, DrawMode::Frame}) {
        JobRun job;
        job.settings.mode = mode;
        job.settings.eyeShapes = {true, true, false, true, false};
        job.settings.*GetParam().field = GetParam().text;
        job.run();
        EXPECT_GE(job.canvas.width(), 16);
        EXPECT_LE(job.canvas.width(), 2400);
    }
}

std::vector<JunkCase> JunkCases() {
    const std::vector<std::string MainSettings::*> fields = {
        &S::width,         &S::height,       &S::magnification, &S::spacing, &S::shadowWidth,
        &S::bubbleSpacing, &S::bubbleShiftX, &S::bubbleShiftY,  &S::eyeShift};
    const std::vector<std::string> texts = {"",          "abc",   "1e9",   "-5",
                                            "0.0000001", "-1e30", "1e999", "-1e999",
                                            "-32768",    "32767", "9-9.9e"};
    std::vector<JunkCase> cases;
    for (auto field : fields)
        for (const std::string& text : texts)
            cases.push_back({field, text});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Texts, JunkFieldTest, testing::ValuesIn(JunkCases()),
                         [](const auto& info) {
                             return NameOf(FieldName(info.param.field), "Typed", info.param.text);
                         });

// --- Background pictures ----------------------------------------------------------------------

TEST(DrawJobTest, MissingPictureIsReportedOnceAndDrawsOnThePlainColour) {
    JobRun job;
    job.settings.usePicture = true;
    job.settings.layout = Layout::Standard; // keeps crabs off the corner
    job.settings.picturePath = "nowhere.bmp";
    job.settings.swatches = {kRed, kGreen, kBlue};
    job.run();
    EXPECT_EQ(job.messages, std::vector<std::string>{std::string(kPictureMissingMessage)});
    EXPECT_EQ(job.canvas.colourAt(0, 0), kBlue);
}

DrawingSurface Checker(int w, int h) {
    DrawingSurface picture(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            picture.pixels()[y * w + x] = toPixel((x + y) % 2 ? kGreen : rgb(x, y, 7));
    return picture;
}

TEST(DrawJobTest, UnreadablePictureIsReportedAndTheOldPictureIsTiled) {
    JobRun job;
    job.settings.usePicture = true;
    job.settings.layout = Layout::Standard;
    job.settings.bubbles = false;
    job.fileThere = true;
    job.loadedPicture = Checker(3, 5);
    job.run();
    EXPECT_TRUE(job.messages.empty());
    job.loadResult = -1;
    job.run();
    EXPECT_EQ(job.messages, std::vector<std::string>{std::string(kPictureUnreadableMessage)});
    EXPECT_EQ(job.canvas.colourAt(1 + 3, 1 + 5), job.loadedPicture.colourAt(0, 0));
}

TEST(DrawJobTest, PictureBackgroundKeepsTheCanvasColourInTheTopAndLeftStrips) {
    JobRun job;
    job.settings.usePicture = true;
    job.settings.layout = Layout::Standard;
    job.settings.bubbles = false;
    job.fileThere = true;
    job.loadedPicture = Checker(2, 2);
    job.run();
    Colour buttonFace = SystemPalette::defaults().colours[SystemPalette::kButtonFace];
    EXPECT_EQ(job.canvas.colourAt(0, 0), buttonFace);
    EXPECT_EQ(job.canvas.colourAt(0, 319), buttonFace);
    EXPECT_EQ(job.canvas.colourAt(239, 0), buttonFace);
}

struct TilingCase {
    int pw, ph;
    int canvasW, canvasH;
};

class ComposeBackgroundTest : public testing::TestWithParam<TilingCase> {};

// Every tile copied whole at (c * pw + 1, r * ph + 1), clipped, as a plain reference.
DrawingSurface TileByCopies(const DrawingSurface& picture, int w, int h) {
    DrawingSurface canvas(w, h);
    canvas.setBackColor(kRed);
    for (int c = 0; c <= w / picture.width(); ++c)
        for (int r = 0; r <= h / picture.height(); ++r)
            blit(canvas, picture, c * picture.width() + 1, r * picture.height() + 1,
                 RasterOp::Copy);
    return canvas;
}

TEST_P(ComposeBackgroundTest, GivesThePixelsOfEveryTileCopied) {
    const TilingCase& c = GetParam();
    DrawingSurface picture = Checker(c.pw, c.ph);
    DrawingSurface canvas(c.canvasW, c.canvasH);
    canvas.setBackColor(kRed);
    ComposeBackground(canvas, picture);
    DrawingSurface expected = TileByCopies(picture, c.canvasW, c.canvasH);
    for (int y = 0; y < c.canvasH; ++y)
        for (int x = 0; x < c.canvasW; ++x)
            ASSERT_EQ(canvas.pixel(x, y), expected.pixel(x, y)) << "at " << x << ", " << y;
}

INSTANTIATE_TEST_SUITE_P(Sizes, ComposeBackgroundTest,
                         testing::Values(TilingCase{100, 100, 240, 320},
                                         TilingCase{120, 160, 240, 320}, TilingCase{1, 1, 37, 23},
                                         TilingCase{7, 3, 16, 16}, TilingCase{300, 400, 240, 320},
                                         TilingCase{239, 319, 240, 320}),
                         [](const auto& info) {
                             const TilingCase& c = info.param;
                             return NameOf("Picture", c.pw, "x", c.ph, "On", c.canvasW, "x",
                                           c.canvasH);
                         });

TEST(ComposeBackgroundTest, TheSecondTileEndsWithThePicturesColumn118) {
    DrawingSurface picture = Checker(120, 160);
    DrawingSurface canvas(240, 320);
    ComposeBackground(canvas, picture);
    EXPECT_EQ(canvas.pixel(239, 1), picture.pixel(118, 0));
}

TEST(ComposeBackgroundTest, EmptyPictureLeavesTheCanvas) {
    DrawingSurface canvas(20, 20);
    canvas.setBackColor(kRed);
    ComposeBackground(canvas, DrawingSurface{});
    EXPECT_EQ(ColoursOf(canvas), std::set<Colour>{kRed});
}

} // namespace
} // namespace tidepool
