// Runs the built tidepool-render as a user would and checks what it leaves behind.
#include "cli/exit_status.h"
#include "cli/saved_wallpaper.h"
#include "wallpaper/keeping/recipe_file.h"

#include "tests/support/bmp_decoder.h"
#include "tests/support/file_bytes.h"
#include "tests/support/qt_picture.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/test_name.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/wait.h>

namespace tidepool::cli {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using testing::ReadWholeFile;
using testing::ScratchFolder;

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the binary with the arguments; with an environment, in that environment alone.
Outcome RunBinary(const std::string& binary, const std::vector<std::string>& args,
                  const std::vector<std::string>& environment = {}) {
    ScratchFolder logs;
    std::string command;
    if (!environment.empty()) {
        command = "env -i";
        for (const std::string& variable : environment)
            command += ' ' + ShellQuoted(variable);
        command += ' ';
    }
    command += ShellQuoted(binary);
    for (const std::string& arg : args) {
        command += ' ';
        command += ShellQuoted(arg);
    }
    command +=
        " >" + ShellQuoted((logs / "out").string()) + " 2>" + ShellQuoted((logs / "err").string());
    const int raw = std::system(command.c_str());
    Outcome run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadWholeFile(logs / "out");
    run.err = ReadWholeFile(logs / "err");
    return run;
}

// The renderer as built, with the codec plug-in beside it.
Outcome RunRenderer(const std::vector<std::string>& args,
                    const std::vector<std::string>& environment = {}) {
    return RunBinary(TIDEPOOL_RENDER_BINARY, args, environment);
}

std::optional<testing::DecodedBmp> ReadBmp(const std::filesystem::path& path) {
    return testing::DecodeBmp(ReadWholeFile(path));
}

TEST(Renderer, BareCommandWritesTheWindowsFirstDrawing) {
    ScratchFolder folder;
    const Outcome run = RunRenderer({"-o", (folder / "out.bmp").string()});
    EXPECT_EQ(run.status, kExitSuccess) << run.err;
    EXPECT_THAT(run.err, IsEmpty());
    const auto bmp = ReadBmp(folder / "out.bmp");
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->width, 240);
    EXPECT_EQ(bmp->height, 320);
    EXPECT_THAT(folder.names(), ElementsAre("out.bmp"));
}

TEST(Renderer, ReportsCorrectionsAndDrawsTheCorrectedSize) {
    ScratchFolder folder;
    const Outcome run = RunRenderer({"--preset", "vga", "--width", "10", "-o",
                                     (folder / "out.bmp").string(), "--magnification", "0.05"});
    EXPECT_EQ(run.status, kExitSuccess) << run.err;
    EXPECT_EQ(run.err, "tidepool-render: --width \"10\" corrected to \"16\"\n"
                       "tidepool-render: --magnification \"0.05\" corrected to \"0.1\"\n");
    const auto bmp = ReadBmp(folder / "out.bmp");
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->width, 16);
    EXPECT_EQ(bmp->height, 480);
}

struct Refusal {
    std::string name;
    std::vector<std::string> args; // "OUT" stands for a file in the scratch folder
    int status;
};

void PrintTo(const Refusal& r, std::ostream* os) {
    *os << r.name;
}

class RendererRefuses : public ::testing::TestWithParam<Refusal> {};

TEST_P(RendererRefuses, WithOneLineAndKeepsTheFolderAsItWas) {
    ScratchFolder folder;
    std::ofstream(folder / "old.bmp") << "old";
    std::filesystem::create_directory(folder / "folder.bmp");
    std::vector<std::string> args = GetParam().args;
    for (std::string& arg : args)
        if (arg.starts_with("OUT/"))
            arg = (folder.path() / arg.substr(4)).string();

    const Outcome run = RunRenderer(args);
    EXPECT_EQ(run.status, GetParam().status);
    EXPECT_THAT(run.err, ::testing::StartsWith("tidepool-render: "));
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_THAT(folder.names(), ::testing::UnorderedElementsAre("old.bmp", "folder.bmp"));
    EXPECT_EQ(ReadWholeFile(folder / "old.bmp"), "old");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RendererRefuses,
    ::testing::Values(Refusal{"BadColour", {"--body", "#12", "-o", "OUT/old.bmp"}, kExitUsage},
                      Refusal{"UnknownFormat", {"-o", "OUT/new.tiff"}, kExitUsage},
                      Refusal{"MissingFolder", {"-o", "OUT/missing/new.png"}, kExitWriteFailed},
                      Refusal{"FolderAsTarget", {"-o", "OUT/folder.bmp"}, kExitWriteFailed}),
    [](const auto& info) { return info.param.name; });

class RendererWritesThroughThePlugIn : public ::testing::TestWithParam<std::string> {};

TEST_P(RendererWritesThroughThePlugIn, AFileOfTheWallpapersSize) {
    ScratchFolder folder;
    const Outcome run = RunRenderer({"-o", (folder / GetParam()).string()});
    EXPECT_EQ(run.status, kExitSuccess) << run.err;
    const std::optional<QImage> written = testing::ReadWithQt(folder / GetParam());
    ASSERT_TRUE(written);
    EXPECT_EQ(written->size(), QSize(240, 320));
    EXPECT_THAT(folder.names(), ElementsAre(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Formats, RendererWritesThroughThePlugIn,
                         ::testing::Values("out.png", "out.jpg", "out.gif"),
                         [](const auto& info) { return test_names::NameOf(info.param); });

TEST(Renderer, WithoutThePlugInRefusesItsFormatsNamingIt) {
    ScratchFolder programFolder;
    ScratchFolder folder;
    const auto binary = programFolder / "tidepool-render";
    std::filesystem::copy_file(TIDEPOOL_RENDER_BINARY, binary);
    const Outcome png = RunBinary(binary.string(), {"-o", (folder / "out.png").string()});
    EXPECT_EQ(png.status, kExitWriteFailed);
    EXPECT_THAT(png.err, HasSubstr("imgctl.so"));
    EXPECT_TRUE(folder.names().empty());
    const Outcome bmp = RunBinary(binary.string(), {"-o", (folder / "out.bmp").string()});
    EXPECT_EQ(bmp.status, kExitSuccess) << bmp.err;
}

// A 7 x 5 picture tiles from (1, 1): tile (c, r) starts at (1 + 7c, 1 + 5r). Small, widely
// spaced crabs leave the checked pixels uncovered.
TEST(Renderer, TilesABackgroundPictureOfOddSize) {
    ScratchFolder folder;
    const DrawingSurface picture = testing::PatternedSurface(7, 5);
    ASSERT_TRUE(testing::AsQImage(picture).save(testing::QtPath(folder / "tile.png")));
    const Outcome run = RunRenderer(
        {"--picture", (folder / "tile.png").string(), "--bubbles", "off", "--layout", "standard",
         "--spacing", "1.9", "--magnification", "0.5", "-o", (folder / "out.bmp").string()});
    EXPECT_EQ(run.status, kExitSuccess) << run.err;
    const auto bmp = ReadBmp(folder / "out.bmp");
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->at(0, 0), 0xF0F0F0u) << "the strip keeps the canvas colour";
    for (const auto& [x, y] :
         {std::pair{1, 1}, {7, 5}, {8, 1}, {15, 11}, {236, 2}, {20, 100}, {239, 319}})
        EXPECT_EQ(bmp->at(x, y), picture.pixel((x - 1) % 7, (y - 1) % 5) & 0xFFFFFFu)
            << x << "," << y;
}

TEST(Renderer, HelpAndVersionSucceed) {
    const Outcome help = RunRenderer({"--help"});
    EXPECT_EQ(help.status, kExitSuccess);
    EXPECT_THAT(help.out, HasSubstr("--preset"));
    const Outcome version = RunRenderer({"--version"});
    EXPECT_EQ(version.status, kExitSuccess);
    EXPECT_THAT(version.out, HasSubstr("tidepool-render"));
}

// Every theme the list names, by its English or its Japanese name, draws what its number draws.
TEST(Renderer, EveryListedThemeNameDrawsWhatItsNumberDraws) {
    const Outcome list = RunRenderer({"--list-themes"});
    ASSERT_EQ(list.status, kExitSuccess) << list.err;
    std::istringstream lines(list.out);
    int themes = 0;
    for (std::string line; std::getline(lines, line); ++themes) {
        std::istringstream fields(line);
        std::vector<std::string> words{std::istream_iterator<std::string>(fields), {}};
        ASSERT_GE(words.size(), 6u) << line;
        ScratchFolder folder;
        std::vector<std::string> drawn;
        for (const std::string& name : {words.front(), words.end()[-2], words.back()}) {
            const std::string out = (folder / (std::to_string(drawn.size()) + ".bmp")).string();
            const Outcome run = RunRenderer({"--theme", name, "--fixed-colours", "off", "--width",
                                             "48", "--height", "32", "-o", out});
            ASSERT_EQ(run.status, kExitSuccess) << name << ": " << run.err;
            drawn.push_back(ReadWholeFile(out));
        }
        EXPECT_EQ(drawn[1], drawn[0]) << line;
        EXPECT_EQ(drawn[2], drawn[0]) << line;
    }
    EXPECT_EQ(themes, 20);
}

struct PictureCase {
    std::string name;
    bool fileExists;
    std::string english;  // after the quoted path
    std::string japanese; // the window's own words
};

void PrintTo(const PictureCase& c, std::ostream* os) {
    *os << c.name;
}

class RendererPicture : public ::testing::TestWithParam<PictureCase> {};

TEST_P(RendererPicture, ProblemsAreReportedButTheWallpaperIsWritten) {
    ScratchFolder folder;
    if (GetParam().fileExists)
        std::ofstream(folder / "picture.bmp") << "not a picture";
    const std::string picture = (folder / "picture.bmp").string();
    const Outcome run = RunRenderer({"--picture", picture, "-o", (folder / "out.bmp").string()});
    EXPECT_EQ(run.status, kExitPictureProblem);
    EXPECT_EQ(run.err, "tidepool-render: the background picture \"" + picture + "\" " +
                           GetParam().english + " (" + GetParam().japanese + ")\n");
    EXPECT_TRUE(ReadBmp(folder / "out.bmp"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RendererPicture,
    ::testing::Values(PictureCase{"Missing", false, "does not exist",
                                  "指定されたピクチャファイルは存在しません。"},
                      PictureCase{"Unreadable", true, "could not be read",
                                  "ピクチャファイルの読み込みに失敗しました。"}),
    [](const auto& info) { return info.param.name; });

// KDE Plasma, with Qt's offscreen screen (800 x 800) and no session bus, so no plasmashell to
// show it: the picture is made for the screen, but nothing took, so nothing is reported applied;
// the file is written all the same, and the picture made for the screen is kept.
TEST(Renderer, ReportsAWayThatDidNotTakeAsNotApplied) {
    ScratchFolder folder;
    const Outcome run =
        RunRenderer({"--set-wallpaper", "-o", (folder / "out.bmp").string()},
                    {"XDG_CURRENT_DESKTOP=KDE", "XDG_DATA_HOME=" + (folder / "data").string(),
                     "QT_QPA_PLATFORM=offscreen"});
    EXPECT_EQ(run.status, kExitNotApplied) << run.err;
    EXPECT_THAT(run.out, IsEmpty());
    EXPECT_THAT(run.err,
                ::testing::HasSubstr("the desktop's own tool (plasmashell): no session bus"));
    EXPECT_TRUE(ReadBmp(folder / "out.bmp"));
    ASSERT_TRUE(std::filesystem::is_directory(folder / "data" / "tidepool"));
    const auto stored = std::filesystem::directory_iterator(folder / "data" / "tidepool");
    const std::optional<QImage> picture = testing::ReadWithQt(stored->path());
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->size(), QSize(800, 800));
}

TEST(Renderer, SaysEveryWayTriedWhenNoneWorks) {
    ScratchFolder folder;
    const Outcome run =
        RunRenderer({"--set-wallpaper"}, {"XDG_DATA_HOME=" + (folder / "data").string()});
    EXPECT_EQ(run.status, kExitNotApplied);
    EXPECT_THAT(run.out, IsEmpty());
    EXPECT_THAT(run.err, ::testing::StartsWith("tidepool-render: the wallpaper was drawn but not "
                                               "put on the desktop:\n"));
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 4) << run.err;
}

// Nothing saved, or something saved that is not a recipe: one line naming the file, status 2,
// and the file as it was, neither written nor repaired.
TEST(Renderer, RestoresNothingButASavedWallpaper) {
    ScratchFolder folder;
    const std::vector<std::string> environment{"XDG_CONFIG_HOME=" + folder.path().string(),
                                               "XDG_DATA_HOME=" + (folder / "data").string()};
    const std::filesystem::path recipe = folder / "tidepool" / "wallpaper.conf";
    Outcome run = RunRenderer({"--restore-wallpaper"}, environment);
    EXPECT_EQ(run.status, kExitUsage);
    EXPECT_THAT(run.err, HasSubstr("no wallpaper has been saved in " + recipe.string()));
    EXPECT_FALSE(std::filesystem::exists(recipe));

    std::filesystem::create_directory(folder / "tidepool");
    testing::WriteWholeFile(recipe, "version=1\nwidth=640\nwidth=480\n");
    run = RunRenderer({"--restore-wallpaper", "--keep-wallpaper"}, environment);
    EXPECT_EQ(run.status, kExitUsage);
    EXPECT_EQ(run.err,
              "tidepool-render: the saved wallpaper cannot be read, and is left as it is: " +
                  recipe.string() + ": line 3: \"width\" given twice\n");
    EXPECT_EQ(ReadWholeFile(recipe), "version=1\nwidth=640\nwidth=480\n");
    EXPECT_FALSE(std::filesystem::exists(folder / "autostart"));
}

// After an application the recipe is saved; where it cannot be, that is said, and the wallpaper,
// which is on the desktop, cannot be kept.
TEST(RememberingTheWallpaper, SavesTheRecipeOrSaysWhyNot) {
    ScratchFolder folder;
    MainSettings typed;
    typed.width = "640";
    const WallpaperRecipe recipe = RecipeOf(typed, RenderSettings{}, true);
    std::ostringstream out, err;
    const Environment saving{{"XDG_CONFIG_HOME", folder.path().string()}};
    EXPECT_EQ(RememberWallpaper(recipe, true, false, kExitPictureProblem, saving, "", out, err),
              kExitPictureProblem);
    EXPECT_EQ(LoadRecipe(folder / "tidepool" / "wallpaper.conf").recipe, recipe);
    EXPECT_THAT(out.str() + err.str(), IsEmpty());

    testing::WriteWholeFile(folder / "file", "");
    const Environment blocked{{"XDG_CONFIG_HOME", (folder / "file").string()}};
    EXPECT_EQ(RememberWallpaper(recipe, true, false, kExitSuccess, blocked, "", out, err),
              kExitSuccess);
    EXPECT_THAT(err.str(), HasSubstr("the wallpaper is on the desktop, but what it is could not"));
    EXPECT_EQ(RememberWallpaper(recipe, true, true, kExitSuccess, blocked, "", out, err),
              kExitNotKept);
}

} // namespace
} // namespace tidepool::cli
