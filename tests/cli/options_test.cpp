#include "cli/options.h"

#include "cli/option_values.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

namespace tidepool::cli {
namespace {

using Swatches = std::array<Colour, 3>;

const Swatches kWater{0x808000, 0xC0C000, 0xFFFF00}; // "ウォーター", theme 2

std::vector<std::string> WithOutput(std::vector<std::string> args) {
    args.insert(args.begin(), {"-o", "out.bmp"});
    return args;
}

struct Accepted {
    std::string name;
    std::vector<std::string> args; // -o out.bmp is added in front
    std::function<void(const RenderRequest&)> check;
};

void PrintTo(const Accepted& c, std::ostream* os) {
    *os << c.name;
}

class AcceptedOptions : public ::testing::TestWithParam<Accepted> {};

TEST_P(AcceptedOptions, SetTheRequest) {
    const Command command = ParseCommandLine(WithOutput(GetParam().args));
    ASSERT_EQ(command.kind, CommandKind::Render) << command.text;
    EXPECT_EQ(command.request.output, "out.bmp");
    GetParam().check(command.request);
}

void ExpectSize(const RenderRequest& r, const std::string& width, const std::string& height) {
    EXPECT_EQ(r.settings.width, width);
    EXPECT_EQ(r.settings.height, height);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, AcceptedOptions,
    ::testing::Values(
        Accepted{"DefaultsAreTheWindowsStartUp",
                 {},
                 [](const RenderRequest& r) {
                     ExpectSize(r, "240", "320");
                     EXPECT_EQ(r.settings.magnification, "1.0");
                     EXPECT_EQ(r.settings.layout, Layout::Slide);
                     EXPECT_TRUE(r.settings.fixedColours);
                     EXPECT_FALSE(r.settings.usePicture);
                     EXPECT_EQ(r.settings.swatches, (Swatches{0x8000000D, 0x8000000F, 0x80000014}));
                 }},
        Accepted{"Preset",
                 {"--preset", "vga"},
                 [](const RenderRequest& r) {
                     ExpectSize(r, "640", "480");
                     EXPECT_EQ(r.settings.sizePreset, 1);
                 }},
        Accepted{"WidthAfterPresetWins",
                 {"--preset", "xga", "--width", "300"},
                 [](const RenderRequest& r) { ExpectSize(r, "300", "768"); }},
        Accepted{"WidthBeforePresetStillWins",
                 {"--height", "0100", "--preset", "uxga"},
                 [](const RenderRequest& r) { ExpectSize(r, "1600", "0100"); }},
        Accepted{"LaterPresetWins",
                 {"--preset", "uxga", "--preset", "wxga"},
                 [](const RenderRequest& r) { ExpectSize(r, "1280", "800"); }},
        Accepted{"LaterWidthWins",
                 {"--width", "100", "--width=200"},
                 [](const RenderRequest& r) { ExpectSize(r, "200", "320"); }},
        Accepted{"TextsStayAsTyped",
                 {"--magnification", " 0.05x", "--spacing", "-1"},
                 [](const RenderRequest& r) {
                     EXPECT_EQ(r.settings.magnification, " 0.05x");
                     EXPECT_EQ(r.settings.spacing, "-1");
                 }}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Themes, AcceptedOptions,
    ::testing::Values(
        Accepted{"ThemeByNumber",
                 {"--theme", "2"},
                 [](const RenderRequest& r) {
                     EXPECT_EQ(r.settings.themeIndex, 1);
                     EXPECT_EQ(r.settings.swatches, kWater);
                 }},
        Accepted{"ThemeByName",
                 {"--theme", "ウォーター"},
                 [](const RenderRequest& r) {
                     EXPECT_EQ(r.settings.themeIndex, 1);
                     EXPECT_EQ(r.settings.swatches, kWater);
                 }},
        Accepted{"ThemeByEnglishName",
                 {"--theme", "water"},
                 [](const RenderRequest& r) {
                     EXPECT_EQ(r.settings.themeIndex, 1);
                     EXPECT_EQ(r.settings.swatches, kWater);
                 }},
        Accepted{"EnglishNameInAnyCaseWithBlanks",
                 {"--theme", "Modern Purple"},
                 [](const RenderRequest& r) { EXPECT_EQ(r.settings.themeIndex, 14); }},
        Accepted{"EnglishNameWithUnderscores",
                 {"--theme", "LIGHT_green"},
                 [](const RenderRequest& r) { EXPECT_EQ(r.settings.themeIndex, 2); }},
        Accepted{"LastTheme",
                 {"--theme", "システム"},
                 [](const RenderRequest& r) {
                     EXPECT_EQ(r.settings.themeIndex, 19);
                     EXPECT_EQ(r.settings.swatches, (Swatches{0x8000000D, 0x8000000F, 0x80000014}));
                 }},
        Accepted{"SwatchAfterThemeOverridesIt",
                 {"--theme", "2", "--middle", "#102030"},
                 [](const RenderRequest& r) {
                     EXPECT_EQ(r.settings.swatches, (Swatches{0x808000, 0x302010, 0xFFFF00}));
                 }},
        Accepted{"ThemeAfterSwatchOverridesIt",
                 {"--middle", "#102030", "--theme", "2"},
                 [](const RenderRequest& r) { EXPECT_EQ(r.settings.swatches, kWater); }},
        Accepted{"ColoursWithoutHashInAnyCase",
                 {"--foreground", "ff8000", "--background", "#aBcDeF"},
                 [](const RenderRequest& r) {
                     EXPECT_EQ(r.settings.swatches[0], rgb(0xFF, 0x80, 0x00));
                     EXPECT_EQ(r.settings.swatches[2], rgb(0xAB, 0xCD, 0xEF));
                 }},
        Accepted{"FixedColours",
                 {"--body", "#010203", "--pattern", "#040506", "--eye-colour", "#070809",
                  "--bubble-colour", "#0A0B0C", "--fixed-colours", "off"},
                 [](const RenderRequest& r) {
                     EXPECT_EQ(r.render.FixedColours[1], rgb(1, 2, 3));
                     EXPECT_EQ(r.render.FixedColours[2], rgb(4, 5, 6));
                     EXPECT_EQ(r.render.FixedColours[3], rgb(7, 8, 9));
                     EXPECT_EQ(r.render.FixedColours[4], rgb(10, 11, 12));
                     EXPECT_FALSE(r.settings.fixedColours);
                 }},
        Accepted{"Role",
                 {"--role", "background"},
                 [](const RenderRequest& r) {
                     EXPECT_EQ(r.settings.colourRole, ColourRole::Background);
                 }}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Drawing, AcceptedOptions,
    ::testing::Values(Accepted{"NoEyes",
                               {"--eyes", "none"},
                               [](const RenderRequest& r) {
                                   EXPECT_EQ(r.settings.eyeShapes, (std::array<bool, 5>{}));
                               }},
                      Accepted{"EyesInAnyOrder",
                               {"--eyes", "cup,circle,cross"},
                               [](const RenderRequest& r) {
                                   EXPECT_EQ(r.settings.eyeShapes,
                                             (std::array<bool, 5>{true, false, true, false, true}));
                               }},
                      Accepted{"NegativeBubbleShift",
                               {"--bubble-shift", "-3,12"},
                               [](const RenderRequest& r) {
                                   EXPECT_EQ(r.settings.bubbleShiftX, "-3");
                                   EXPECT_EQ(r.settings.bubbleShiftY, "12");
                               }},
                      Accepted{"BubbleShiftHalvesAsTyped",
                               {"--bubble-shift= 1,"},
                               [](const RenderRequest& r) {
                                   EXPECT_EQ(r.settings.bubbleShiftX, " 1");
                                   EXPECT_EQ(r.settings.bubbleShiftY, "");
                               }},
                      Accepted{"FrameWithoutShadows",
                               {"--mode", "frame", "--crab-shadow", "off", "--bubble-shadow", "off",
                                "--layout", "standard", "--bubbles", "off", "--bubble-crab-colour",
                                "on"},
                               [](const RenderRequest& r) {
                                   EXPECT_EQ(r.settings.mode, DrawMode::Frame);
                                   EXPECT_EQ(r.settings.layout, Layout::Standard);
                                   EXPECT_FALSE(r.settings.crabShadow);
                                   EXPECT_FALSE(r.settings.bubbleShadow);
                                   EXPECT_FALSE(r.settings.bubbles);
                                   EXPECT_TRUE(r.settings.bubbleCrabColour);
                               }},
                      Accepted{"Picture",
                               {"--picture", "bg.png"},
                               [](const RenderRequest& r) {
                                   EXPECT_TRUE(r.settings.usePicture);
                                   EXPECT_EQ(r.settings.picturePath, "bg.png");
                               }}),
    [](const auto& info) { return info.param.name; });

struct Refused {
    std::string name;
    std::vector<std::string> args;
    std::string mentions; // part of the one-line error
};

void PrintTo(const Refused& c, std::ostream* os) {
    *os << c.name;
}

class RefusedOptions : public ::testing::TestWithParam<Refused> {};

TEST_P(RefusedOptions, GiveOneLineNamingTheProblem) {
    const Command command = ParseCommandLine(GetParam().args);
    ASSERT_EQ(command.kind, CommandKind::Fail);
    EXPECT_THAT(command.text, ::testing::HasSubstr(GetParam().mentions));
    EXPECT_EQ(command.text.find('\n'), std::string::npos);
}

std::vector<Refused> BadValues() {
    std::vector<Refused> cases;
    const std::vector<std::pair<std::string, std::string>> values{{"--foreground", "#12345"},
                                                                  {"--foreground", "#1234567"},
                                                                  {"--body", "#GG0000"},
                                                                  {"--middle", "red"},
                                                                  {"--background", "#-12345"},
                                                                  {"--layout", "diagonal"},
                                                                  {"--mode", "Frame"},
                                                                  {"--role", "none"},
                                                                  {"--preset", "svga"},
                                                                  {"--crab-shadow", "yes"},
                                                                  {"--theme", "0"},
                                                                  {"--theme", "21"},
                                                                  {"--theme", "フレーム"},
                                                                  {"--theme", "wate"},
                                                                  {"--theme", "light  green"},
                                                                  {"--eyes", "circle,,dash"},
                                                                  {"--eyes", ""},
                                                                  {"--eyes", "circle,none"},
                                                                  {"--bubble-shift", "1"},
                                                                  {"--bubble-shift", "1,2,3"},
                                                                  {"--output", ""}};
    for (const auto& [option, value] : values)
        cases.push_back(
            {"Bad" + std::to_string(cases.size()), {option, value, "-o", "a.bmp"}, option});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Values, RefusedOptions, ::testing::ValuesIn(BadValues()),
                         [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    CommandLines, RefusedOptions,
    ::testing::Values(
        Refused{"UnknownOption", {"--colour", "x", "-o", "a.bmp"}, "--colour"},
        Refused{"StrayArgument", {"-o", "a.bmp", "extra"}, "extra"},
        Refused{"NoOutput", {"--width", "300"}, "-o"},
        Refused{"OutputWithoutName", {"-o"}, "output"},
        Refused{"BadValueAfterGoodOnes", {"-o", "a.bmp", "--theme", "1", "--theme", "99"}, "99"},
        Refused{"WallpaperWithNoTime",
                {"--set-wallpaper", "--wallpaper-timeout", "0"},
                "--wallpaper-timeout"},
        Refused{"KeepingNothingPut", {"--keep-wallpaper", "-o", "a.bmp"}, "--keep-wallpaper"},
        Refused{"KeepingAFollower", {"--follow-screens", "--keep-wallpaper"}, "--keep-wallpaper"},
        Refused{"RestoringWithSettings", {"--restore-wallpaper", "--width", "9"}, "--width"},
        Refused{"RestoringIntoAFile", {"--restore-wallpaper", "-o", "a.bmp"}, "--output"},
        Refused{"FollowingWhileSetting", {"--set-wallpaper", "--follow-screens"}, "--set"},
        Refused{"RestoringAndForgetting",
                {"--restore-wallpaper", "--forget-wallpaper"},
                "--forget-wallpaper"}),
    [](const auto& info) { return info.param.name; });

TEST(CommandLine, ThemeListNeedsNoOutput) {
    EXPECT_EQ(ParseCommandLine({"--list-themes"}).kind, CommandKind::ListThemes);
}

TEST(CommandLine, SettingTheWallpaperNeedsNoOutput) {
    const Command command = ParseCommandLine({"--set-wallpaper"});
    EXPECT_EQ(command.kind, CommandKind::Render);
    EXPECT_TRUE(command.request.setWallpaper);
    EXPECT_TRUE(command.request.output.empty());
    EXPECT_EQ(command.request.wallpaperSeconds, 5);
    EXPECT_EQ(ParseCommandLine({"--set-wallpaper", "--wallpaper-timeout", "1.5"})
                  .request.wallpaperSeconds,
              1.5);
}

TEST(CommandLine, TheSavedWallpaperCommandsStandAlone) {
    EXPECT_EQ(ParseCommandLine({"--follow-screens"}).kind, CommandKind::Follow);
    EXPECT_EQ(ParseCommandLine({"--forget-wallpaper"}).kind, CommandKind::Forget);
    const Command restore =
        ParseCommandLine({"--restore-wallpaper", "--keep-wallpaper", "--wallpaper-timeout", "2"});
    EXPECT_EQ(restore.kind, CommandKind::Restore);
    EXPECT_TRUE(restore.request.keepWallpaper);
    EXPECT_EQ(restore.request.wallpaperSeconds, 2);
    EXPECT_TRUE(ParseCommandLine({"--keep-wallpaper", "--set-wallpaper"}).request.keepWallpaper);
}

TEST(ColourText, ReadsRedGreenBlueIntoTheEnginesOrder) {
    EXPECT_EQ(ParseColour("#FF0000"), Colour{0x0000FF});
    EXPECT_EQ(ParseColour("#0000ff"), Colour{0xFF0000});
}

TEST(ColourText, WritesPlainAndSystemColours) {
    EXPECT_EQ(FormatColour(0x0080FF), "#FF8000");
    EXPECT_EQ(FormatColour(0x8000000D), "system 13");
    EXPECT_EQ(FormatColour(*ParseColour("#0a1B2c")), "#0A1B2C");
}

} // namespace
} // namespace tidepool::cli
