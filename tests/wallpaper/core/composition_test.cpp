#include "imagefile/codec_library.h"
#include "tests/support/scratch_folder.h"
#include "wallpaper/core/file_uri.h"
#include "wallpaper/core/wallpaper_plan.h"
#include "wallpaper/core/wallpaper_store.h"
#include "wallpaper/x11/x11_desktop_windows.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <fstream>

namespace tidepool {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;
using namespace std::chrono_literals;

// A canvas whose every pixel is different, so that a cut shows which pixel it took.
DrawingSurface NumberedCanvas(int width, int height) {
    DrawingSurface canvas(width, height);
    for (int i = 0; i < width * height; ++i)
        canvas.pixels()[i] = 0xFF000000u | static_cast<Pixel>(i + 1);
    return canvas;
}

// The desktop area covered by copies of the canvas laid edge to edge from the origin: each copy
// placed where it falls, rather than each pixel worked out.
DrawingSurface TileByTile(const DrawingSurface& canvas, const DeviceRect& area, int originX,
                          int originY) {
    DrawingSurface expected(area.width, area.height);
    const int w = canvas.width(), h = canvas.height();
    const int firstX = originX - ((originX - area.x) / w + 1) * w;
    const int firstY = originY - ((originY - area.y) / h + 1) * h;
    for (int tileY = firstY; tileY < area.y + area.height; tileY += h)
        for (int tileX = firstX; tileX < area.x + area.width; tileX += w)
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const int dx = tileX + x - area.x, dy = tileY + y - area.y;
                    if (dx >= 0 && dy >= 0 && dx < area.width && dy < area.height)
                        expected.pixels()[dy * area.width + dx] = canvas.pixel(x, y);
                }
    return expected;
}

bool SamePixels(const DrawingSurface& a, const DrawingSurface& b) {
    return a.width() == b.width() && a.height() == b.height() &&
           std::equal(a.pixels(), a.pixels() + a.width() * a.height(), b.pixels());
}

struct CutCase {
    const char* name;
    DeviceRect area;
    int originX, originY;
};

class CutFromTilingTest : public ::testing::TestWithParam<CutCase> {};

TEST_P(CutFromTilingTest, MatchesCopiesLaidTileByTile) {
    const DrawingSurface canvas = NumberedCanvas(7, 5);
    const CutCase& c = GetParam();
    EXPECT_TRUE(SamePixels(CutFromTiling(canvas, c.area, c.originX, c.originY),
                           TileByTile(canvas, c.area, c.originX, c.originY)));
}

INSTANTIATE_TEST_SUITE_P(
    Areas, CutFromTilingTest,
    ::testing::Values(CutCase{"AtTheOrigin", {0, 0, 30, 17}, 0, 0},
                      CutCase{"SecondScreenToTheRight", {19, 0, 23, 12}, 0, 0},
                      CutCase{"SecondScreenBelow", {0, 11, 16, 9}, 0, 0},
                      CutCase{"DesktopLeftOfItsOrigin", {-13, -4, 25, 14}, -13, -4},
                      CutCase{"SmallerThanTheCanvas", {3, 2, 4, 2}, 0, 0},
                      CutCase{"ExactlyOneTile", {7, 5, 7, 5}, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CutFromTiling, GivesACanvasLargerThanTheScreenItsTopLeftPart) {
    const DrawingSurface canvas = NumberedCanvas(40, 30);
    const DrawingSurface cut = CutFromTiling(canvas, {0, 0, 16, 9}, 0, 0);
    EXPECT_EQ(cut.pixel(15, 8), canvas.pixel(15, 8));
}

const Screen kWide{"HDMI-1", 0, 0, 1920, 1080, 1};
const Screen kRight{"DP-1", 1920, 0, 1280, 1024, 1};
const Screen kBelow{"DP-2", 0, 1080, 1920, 1200, 1};
const Screen kHiDpi{"eDP-1", 0, 0, 1280, 800, 2};

TEST(PlanPictures, CutsOnePicturePerScreenAtItsPlace) {
    const WallpaperPlan plan = PlanPictures({kWide, kRight}, PictureSet::OnePerScreen);
    ASSERT_EQ(plan.pictures.size(), 2u);
    EXPECT_EQ(plan.pictures[0], (DeviceRect{0, 0, 1920, 1080}));
    EXPECT_EQ(plan.pictures[1], (DeviceRect{1920, 0, 1280, 1024}));
}

TEST(PlanPictures, SpansTheBoundingBoxOfScreensStacked) {
    const WallpaperPlan plan = PlanPictures({kWide, kBelow}, PictureSet::OneForAll);
    ASSERT_EQ(plan.pictures.size(), 1u);
    EXPECT_EQ(plan.pictures[0], (DeviceRect{0, 0, 1920, 2280}));
}

TEST(PlanPictures, TilesFromTheDesktopsTopLeftWhereverItLies) {
    const Screen left{"DP-3", -1280, -200, 1280, 1024, 1};
    const WallpaperPlan plan = PlanPictures({kWide, left}, PictureSet::OnePerScreen);
    EXPECT_EQ(plan.originX, -1280);
    EXPECT_EQ(plan.originY, -200);
}

TEST(PlanPictures, CountsAScaledScreenInDevicePixels) {
    const WallpaperPlan plan = PlanPictures({kHiDpi}, PictureSet::OnePerScreen);
    EXPECT_EQ(plan.pictures.at(0), (DeviceRect{0, 0, 2560, 1600}));
}

struct SizeCase {
    const char* name;
    int width, height;
    bool allowed;
};

class PictureSizeLimitTest : public ::testing::TestWithParam<SizeCase> {};

// The limit is the codec's: a side of 16384 and 64 M pixels, each allowed exactly.
TEST_P(PictureSizeLimitTest, AllowsUpToTheCodecsLimitAndNamesItBeyond) {
    const SizeCase& c = GetParam();
    const Screen screen{"DP-1", 0, 0, c.width, c.height, 1};
    const WallpaperPlan plan = PlanPictures({screen}, PictureSet::OneForAll);
    EXPECT_EQ(plan.error.empty(), c.allowed) << plan.error;
    if (!c.allowed) {
        EXPECT_THAT(plan.error, ::testing::HasSubstr(std::to_string(c.width) + " x " +
                                                     std::to_string(c.height)));
        EXPECT_THAT(plan.error, ::testing::HasSubstr("16384"));
        EXPECT_TRUE(plan.pictures.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, PictureSizeLimitTest,
                         ::testing::Values(SizeCase{"LongestSide", 16384, 1200, true},
                                           SizeCase{"OnePastTheSide", 16385, 1200, false},
                                           SizeCase{"OnePastTheSideDown", 1200, 16385, false},
                                           SizeCase{"AllThePixels", 16384, 4096, true},
                                           SizeCase{"OneRowPastThePixels", 16384, 4097, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Device pixels are rounded to the nearest, as the desktop lays a scaled screen out.
TEST(DeviceArea, RoundsFractionalScalesToTheNearestPixel) {
    EXPECT_EQ(DeviceArea({"a", 0, 0, 1366, 768, 1.25}), (DeviceRect{0, 0, 1708, 960}));
    EXPECT_EQ(DeviceArea({"b", 1367, 0, 1281, 801, 1.5}), (DeviceRect{2051, 0, 1922, 1202}));
}

TEST(FileUri, PercentEncodesWhatAnAddressCannotHoldAsItIs) {
    EXPECT_EQ(FileUri("/home/a b/#1/100%/\xE3\x81\x8B.png"),
              "file:///home/a%20b/%231/100%25/%E3%81%8B.png");
}

// The per-screen pictures are the very parts of the spanning picture: the tiling runs on
// seamlessly from one screen to the next.
TEST(ComposePictures, ScreensShowTheirPartsOfOneTiling) {
    const DrawingSurface canvas = NumberedCanvas(240, 320);
    const std::vector<Screen> screens{kWide, kRight, kBelow};
    const DrawingSurface whole =
        ComposePictures(canvas, PlanPictures(screens, PictureSet::OneForAll)).at(0);
    const WallpaperPlan perScreen = PlanPictures(screens, PictureSet::OnePerScreen);
    const std::vector<DrawingSurface> parts = ComposePictures(canvas, perScreen);
    for (std::size_t i = 0; i < parts.size(); ++i)
        EXPECT_TRUE(SamePixels(parts[i], CutFromTiling(whole, perScreen.pictures[i], 0, 0)))
            << screens[i].name;
}

// A desktop window exactly on its screen's edges covers it; one a pixel short leaves the root
// window showing there.
TEST(DesktopWindowsCover, CountsAWindowExactlyOnTheScreensEdges) {
    std::vector<DesktopWindow> windows{{"pcmanfm-qt", "pcmanfm-qt", {0, 0, 1920, 1080}},
                                       {"pcmanfm-qt", "pcmanfm-qt", {1920, 0, 1280, 1024}}};
    EXPECT_TRUE(DesktopWindowsCover(windows, "pcmanfm-qt", {kWide, kRight}));
    windows[1].area.width -= 1;
    EXPECT_FALSE(DesktopWindowsCover(windows, "pcmanfm-qt", {kWide, kRight}));
}

TEST(WallpaperFolder, IsTidepoolUnderTheDataHomeOrTheUsersShare) {
    EXPECT_EQ(WallpaperFolder({{"XDG_DATA_HOME", "/d"}, {"HOME", "/h"}}).folder, "/d/tidepool");
    EXPECT_EQ(WallpaperFolder({{"XDG_DATA_HOME", "relative"}, {"HOME", "/h"}}).folder,
              "/h/.local/share/tidepool");
    EXPECT_FALSE(WallpaperFolder({}).error.empty());
}

class StorePicturesTest : public ::testing::Test {
  protected:
    testing::ScratchFolder scratch;
    // Without the plug-in, so the pictures are bitmaps.
    CodecLibrary codec{scratch / "no-plug-in"};
    std::filesystem::path folder = scratch / "data" / "tidepool";
    std::chrono::system_clock::time_point now = std::chrono::system_clock::now();
    std::vector<DrawingSurface> two{NumberedCanvas(4, 3), NumberedCanvas(5, 2)};
};

TEST_F(StorePicturesTest, CreatesTheFolderAndNeverReusesAName) {
    const StoredPictures first = StorePictures(folder, two, codec, now);
    const StoredPictures second = StorePictures(folder, two, codec, now);
    ASSERT_TRUE(first.ok() && second.ok()) << first.error << second.error;
    ASSERT_EQ(first.files.size(), 2u);
    EXPECT_NE(first.files[0], second.files[0]);
    EXPECT_EQ(first.files[0].extension(), ".bmp");
    EXPECT_THAT(first.files[1].filename().string(), ::testing::EndsWith("-screen2.bmp"));
}

TEST_F(StorePicturesTest, KeepsTheThreeNewestApplicationsAndEveryOtherFile) {
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "notes.txt") << "mine";
    std::ofstream(folder / "wallpaper-old.png") << "mine too";
    // Six, so that pruning one application too many at the fourth is not made up for by
    // pruning none at the fifth.
    std::vector<std::filesystem::path> written;
    for (int i = 0; i < 6; ++i) {
        const StoredPictures stored = StorePictures(folder, two, codec, now + i * 1s);
        written.insert(written.end(), stored.files.begin(), stored.files.end());
    }
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        left.push_back(entry.path().filename().string());
    std::vector<std::string> expected{"notes.txt", "wallpaper-old.png"};
    for (std::size_t i = written.size() - 2 * kApplicationsKept; i < written.size(); ++i)
        expected.push_back(written[i].filename().string());
    EXPECT_THAT(left, ::testing::UnorderedElementsAreArray(expected));
}

// The clock going back (a time-zone change, a step of the clock) must not make the picture just
// applied look like the oldest: the folder is pruned at every application, by order of creation.
TEST_F(StorePicturesTest, KeepsWhatWasJustWrittenWhenTheClockGoesBack) {
    for (int i = 0; i < 5; ++i) {
        const StoredPictures stored = StorePictures(folder, two, codec, now - i * 1h);
        ASSERT_TRUE(stored.ok()) << stored.error;
        for (const auto& file : stored.files)
            EXPECT_TRUE(std::filesystem::exists(file)) << "application " << i;
        const auto files = std::distance(std::filesystem::directory_iterator(folder),
                                         std::filesystem::directory_iterator());
        EXPECT_LE(files, 2 * kApplicationsKept) << "after application " << i;
    }
}

TEST_F(StorePicturesTest, NamesFilesInUniversalTimeWhateverTheLocalZone) {
    const char* zone = std::getenv("TZ");
    const std::string saved = zone ? zone : "";
    setenv("TZ", "JST-9", 1);
    tzset();
    // 2026-12-07 15:30:00 UTC, 2026-12-08 00:30 in Tokyo.
    const auto time = std::chrono::system_clock::from_time_t(1796657400);
    const StoredPictures stored = StorePictures(folder, {NumberedCanvas(3, 3)}, codec, time);
    zone ? setenv("TZ", saved.c_str(), 1) : unsetenv("TZ");
    tzset();
    ASSERT_TRUE(stored.ok()) << stored.error;
    EXPECT_EQ(stored.files.at(0).filename(), "wallpaper-1-20261207T153000Z.bmp");
}

// Files of the earlier versions, named in local time, are ours and go first.
TEST_F(StorePicturesTest, PrunesEarlierVersionsNamesBeforeCountedOnes) {
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "wallpaper-29991231-235959-999.png") << "old";
    for (int i = 0; i < kApplicationsKept; ++i)
        ASSERT_TRUE(StorePictures(folder, two, codec, now).ok());
    EXPECT_FALSE(std::filesystem::exists(folder / "wallpaper-29991231-235959-999.png"));
}

// A write that fails part of the way leaves the folder as it was.
TEST_F(StorePicturesTest, AFailedWriteLeavesNothingBehind) {
    ASSERT_TRUE(StorePictures(folder, two, codec, now).ok());
    const StoredPictures first = StorePictures(folder, two, codec, now + 1s);
    // The second screen's picture of the next application cannot take its name.
    const std::string blocked = first.files[1].filename().string();
    std::filesystem::remove(first.files[0]);
    std::filesystem::remove(first.files[1]);
    std::filesystem::create_directory(folder / blocked);
    const auto before = std::distance(std::filesystem::directory_iterator(folder),
                                      std::filesystem::directory_iterator());
    const StoredPictures failed = StorePictures(folder, two, codec, now + 1s);
    EXPECT_FALSE(failed.ok());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator()),
              before);
}

TEST_F(StorePicturesTest, AFolderThatCannotBeMadeIsNamed) {
    std::ofstream(scratch / "file") << "x";
    const StoredPictures stored = StorePictures(scratch / "file" / "tidepool", two, codec, now);
    EXPECT_THAT(stored.error, ::testing::HasSubstr((scratch / "file" / "tidepool").string()));
}

} // namespace
} // namespace tidepool
