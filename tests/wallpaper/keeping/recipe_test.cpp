#include "tests/support/file_bytes.h"
#include "tests/support/scratch_folder.h"
#include "wallpaper/keeping/recipe_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace tidepool {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using testing::ReadWholeFile;
using testing::ScratchFolder;
using testing::WriteWholeFile;

// Every setting away from its start value, the texts holding what a line-based format could
// lose: a line break, a backslash, '=', '#', blanks at either end, control characters, Japanese.
WallpaperRecipe UnusualRecipe() {
    WallpaperRecipe r;
    MainSettings& s = r.settings;
    s.sizePreset = -1;
    s.width = " 1\n2=3 ";
    s.height = "#4\\n";
    s.magnification = "\t1.5\r";
    s.spacing = std::string("x\0y\x1F\x7F", 5);
    s.layout = Layout::Standard;
    s.usePicture = true;
    s.picturePath = "/tmp/a b\"c$(x)`y`;d'e ü 壁紙 #%20\\.png";
    s.mode = DrawMode::Frame;
    s.crabShadow = false;
    s.shadowWidth = "";
    s.bubbles = false;
    s.bubbleSpacing = "2";
    s.bubbleShadow = false;
    s.bubbleCrabColour = true;
    s.bubbleShiftX = "-3";
    s.bubbleShiftY = "4";
    s.eyeShapes = {false, true, false, true, true};
    s.eyeShift = "7";
    s.colourRole = ColourRole::None;
    s.swatches = {0x123456u, 0x80000014u, 0xABCDEFu};
    s.fixedColours = false;
    s.themeIndex = -1;
    r.fixedColours = {0, 0x010203u, 0x040506u, 0x8000000Fu, 0x0A0B0Cu};
    r.palette.colours[SystemPalette::kHighlight] = 0x112233u;
    r.palette.colours[SystemPalette::kButtonFace] = 0x445566u;
    r.palette.colours[SystemPalette::kButtonHighlight] = 0x778899u;
    r.drawn = false;
    return r;
}

TEST(WallpaperRecipe, ReadsBackWhatItWrites) {
    for (const WallpaperRecipe& recipe : {WallpaperRecipe{}, UnusualRecipe()}) {
        const std::string text = FormatRecipe(recipe);
        const ParsedRecipe parsed = ParseRecipe(text);
        ASSERT_TRUE(parsed.recipe) << parsed.error << "\n" << text;
        EXPECT_EQ(*parsed.recipe, recipe) << text;
    }
}

TEST(WallpaperRecipe, IsOneSettingALineOfPrintableText) {
    const std::string text = FormatRecipe(UnusualRecipe());
    EXPECT_THAT(text, HasSubstr("\nversion=1\n"));
    EXPECT_THAT(text, HasSubstr("\nwidth= 1\\n2=3 \n"));
    EXPECT_THAT(text, HasSubstr("\nspacing=x\\x00y\\x1F\\x7F\n"));
    EXPECT_THAT(text, HasSubstr("\nforeground=#563412\n"));
    EXPECT_THAT(text, HasSubstr("\nmiddle=system 20\n"));
    EXPECT_THAT(text, HasSubstr("\neyes=dash,cap,cup\n"));
    for (const char c : text)
        EXPECT_TRUE(c == '\n' || static_cast<unsigned char>(c) >= 0x20) << int(c);
}

// A hand-written recipe may leave settings out and end its lines as another system does.
TEST(WallpaperRecipe, SettingsLeftOutKeepTheirStartValues) {
    const ParsedRecipe parsed = ParseRecipe("# mine\r\n\r\nversion=1\r\nwidth=640\r\nmode=frame");
    ASSERT_TRUE(parsed.recipe) << parsed.error;
    WallpaperRecipe expected;
    expected.settings.width = "640";
    expected.settings.mode = DrawMode::Frame;
    EXPECT_EQ(*parsed.recipe, expected);
}

struct Damage {
    std::string name;
    std::string text;
    std::string error;
};

void PrintTo(const Damage& d, std::ostream* os) {
    *os << d.name;
}

class DamagedRecipe : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedRecipe, IsRefusedInOneLineNamingWhere) {
    const ParsedRecipe parsed = ParseRecipe(GetParam().text);
    EXPECT_FALSE(parsed.recipe);
    EXPECT_THAT(parsed.error, HasSubstr(GetParam().error));
    EXPECT_THAT(parsed.error, Not(HasSubstr("\n")));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DamagedRecipe,
    ::testing::Values(
        Damage{"Empty", "", "no version line"},
        Damage{"NoVersion", "width=640\n", "line 1: the first setting is not the version"},
        Damage{"NewerVersion", "version=2\n", "line 1: version \"2\" is not one"},
        Damage{"NotKeyValue", "version=1\n\nwidth 640\n", "line 3: not key=value"},
        Damage{"UnknownKey", "version=1\nwidht=640\n", "line 2: unknown key \"widht\""},
        Damage{"RepeatedKey", "version=1\nwidth=1\nwidth=2\n", "line 3: \"width\" given twice"},
        Damage{"BadChoice", "version=1\nlayout=sideways\n",
               "line 2: layout \"sideways\": expected standard or slide"},
        Damage{"BadColour", "version=1\nbody=red\n", "line 2: body \"red\": expected"},
        Damage{"ThemeOutOfRange", "version=1\ntheme=21\n", "line 2: theme \"21\""},
        Damage{"BadEscape", "version=1\nwidth=a\\qb\n", "line 2: a backslash"},
        Damage{"CutEscape", "version=1\nwidth=\\x4\n", "line 2: a backslash"},
        Damage{"LineBreakInValueShownEscaped", "version=1\nmode=\\nframe\n", "mode \"\\nframe\""}),
    [](const auto& info) { return info.param.name; });

TEST(RecipeFile, KeepsTheRecipeUnderTheConfigFolder) {
    EXPECT_EQ(RecipeFile({{"XDG_CONFIG_HOME", "/c"}, {"HOME", "/h"}}).file,
              "/c/tidepool/wallpaper.conf");
    EXPECT_EQ(RecipeFile({{"XDG_CONFIG_HOME", "rel"}, {"HOME", "/h"}}).file,
              "/h/.config/tidepool/wallpaper.conf");
    EXPECT_THAT(RecipeFile({}).error, HasSubstr("XDG_CONFIG_HOME"));
}

TEST(RecipeFile, SavesInAFolderItMakesAndLoadsBack) {
    ScratchFolder scratch;
    const std::filesystem::path file = scratch / "new folder" / "wallpaper.conf";
    EXPECT_EQ(LoadRecipe(file).state, LoadedRecipe::State::Missing);
    ASSERT_TRUE(SaveRecipe(file, UnusualRecipe()).ok());
    const LoadedRecipe loaded = LoadRecipe(file);
    ASSERT_EQ(loaded.state, LoadedRecipe::State::Loaded) << loaded.error;
    EXPECT_EQ(loaded.recipe, UnusualRecipe());
}

TEST(RecipeFile, ADamagedOneIsNamedAndLeftAsItIs) {
    ScratchFolder scratch;
    const std::filesystem::path file = scratch / "wallpaper.conf";
    WriteWholeFile(file, "version=1\nmode=sideways\n");
    const LoadedRecipe loaded = LoadRecipe(file);
    EXPECT_EQ(loaded.state, LoadedRecipe::State::Damaged);
    EXPECT_THAT(loaded.error, HasSubstr(file.string() + ": line 2: mode"));
    EXPECT_EQ(ReadWholeFile(file), "version=1\nmode=sideways\n");

    std::filesystem::create_directory(scratch / "folder.conf");
    EXPECT_EQ(LoadRecipe(scratch / "folder.conf").state, LoadedRecipe::State::Damaged);
}

TEST(RecipeFile, ARelativePictureIsKeptWithItsFolder) {
    MainSettings typed;
    typed.picturePath = "tiles/sea.png";
    const WallpaperRecipe recipe = RecipeOf(typed, RenderSettings{}, true);
    EXPECT_EQ(recipe.settings.picturePath,
              (std::filesystem::current_path() / "tiles/sea.png").string());
}

} // namespace
} // namespace tidepool
