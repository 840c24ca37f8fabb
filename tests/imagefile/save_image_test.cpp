#include "imagefile/program_folder.h"
#include "imagefile/save_image.h"

#include "tests/support/bmp_decoder.h"
#include "tests/support/qt_picture.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/test_name.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <thread>
#include <unistd.h>

namespace tidepool {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::ReadWholeFile;
using testing::ScratchFolder;
using testing::WriteWholeFile;

// Why the read-only-folder cases skip as root, and where they run instead.
constexpr const char* kSuperuserSkip = "permissions do not bind the superuser; the CTest "
                                       "read_only_folder_tests runs this case as nobody";

DrawingSurface SmallSurface() {
    DrawingSurface surface(3, 2);
    for (int i = 0; i < 6; ++i)
        surface.pixels()[i] = 0xFF000000u | static_cast<Pixel>(i * 0x102030);
    return surface;
}

// Where the tests find the plug-in (beside the test program, where the build puts it and where
// read_only_folder_tests copies it), and a program folder without one.
struct CodecLibraries {
    ScratchFolder emptyFolder;
    CodecLibrary present{ProgramFolder()};
    CodecLibrary absent{emptyFolder.path()};
};

// The wallpaper job binds a plug-in of its own on its thread and lets it go when done; the
// window's, bound meanwhile, must still work afterwards.
TEST(CodecLibrary, StaysUsableAfterAnotherCopyBoundMeanwhileLetsItGo) {
    ScratchFolder folder;
    CodecLibrary window{ProgramFolder()};
    {
        CodecLibrary job{ProgramFolder()};
        ASSERT_NE(job.functions(), nullptr);
        ASSERT_NE(window.functions(), nullptr);
    }
    const WriteResult result = SaveImage(SmallSurface(), folder / "a.png", window);
    ASSERT_TRUE(result.ok()) << result.error();
    EXPECT_EQ(ReadWholeFile(folder / "a.png").substr(1, 3), "PNG");
}

// A wallpaper job saves PNG pictures on a worker thread while the window goes on; the current
// folder, which the window's relative picture path and file dialogs start from, stays the
// window's throughout.
TEST(CodecLibrary, UsedOffTheWindowsThreadLeavesTheCurrentFolderAlone) {
    ScratchFolder folder, current;
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(current.path());
    std::atomic<bool> done = false;
    std::thread job([&] {
        CodecLibrary codec{ProgramFolder(), CodecLibrary::CallFolder::Current};
        for (int i = 0; i < 20; ++i)
            EXPECT_TRUE(SaveImage(SmallSurface(), folder / "a.png", codec).ok());
        done = true;
    });
    int elsewhere = 0;
    while (!done)
        elsewhere += std::filesystem::current_path() != current.path();
    job.join();
    std::filesystem::current_path(before);
    EXPECT_EQ(elsewhere, 0);
}

class SavesAsBmp : public ::testing::TestWithParam<std::string> {};

TEST_P(SavesAsBmp, WhateverTheLetterCaseOfTheExtensionAndWithoutThePlugIn) {
    ScratchFolder folder;
    CodecLibraries codecs;
    const auto target = folder / GetParam();
    const DrawingSurface surface = SmallSurface();
    const WriteResult result = SaveImage(surface, target, codecs.absent);
    ASSERT_TRUE(result.ok()) << result.error();
    const auto bmp = testing::DecodeBmp(ReadWholeFile(target));
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->at(2, 1), surface.pixel(2, 1) & 0xFFFFFFu);
    EXPECT_THAT(folder.names(), ElementsAre(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Extensions, SavesAsBmp,
                         ::testing::Values("a.bmp", "a.BMP", "a.Bmp", "photo.png.bmp"),
                         [](const auto& info) { return test_names::NameOf(info.param); });

struct RefusedName {
    std::string name;
    std::string reason; // part of the error
};

class RefusesToSave : public ::testing::TestWithParam<RefusedName> {};

TEST_P(RefusesToSave, WithoutThePlugInAndWritesNothing) {
    ScratchFolder folder;
    CodecLibraries codecs;
    const WriteResult result = SaveImage(SmallSurface(), folder / GetParam().name, codecs.absent);
    EXPECT_FALSE(result.ok());
    EXPECT_THAT(result.error(), HasSubstr(GetParam().reason));
    EXPECT_TRUE(folder.names().empty());
}

INSTANTIATE_TEST_SUITE_P(Names, RefusesToSave,
                         ::testing::Values(RefusedName{"a.png", "codec plug-in imgctl"},
                                           RefusedName{"a.PNG", "codec plug-in imgctl"},
                                           RefusedName{"a.jpg", "codec plug-in imgctl"},
                                           RefusedName{"a.jpeg", "codec plug-in imgctl"},
                                           RefusedName{"a.gif", "codec plug-in imgctl"},
                                           RefusedName{"a.tif", "unsupported"},
                                           RefusedName{"a.bmp.txt", "unsupported"},
                                           RefusedName{"a", "no file extension"}),
                         [](const auto& info) { return test_names::NameOf(info.param.name); });

TEST(SaveImage, KeepsTheOldFileWhenTheFormatIsRefused) {
    ScratchFolder folder;
    CodecLibraries codecs;
    WriteWholeFile(folder / "a.png", "old contents");
    EXPECT_FALSE(SaveImage(SmallSurface(), folder / "a.png", codecs.absent).ok());
    EXPECT_EQ(ReadWholeFile(folder / "a.png"), "old contents");
}

class KeepsTheOldFile : public ::testing::TestWithParam<std::string> {};

TEST_P(KeepsTheOldFile, WhenThePictureIsEmpty) {
    ScratchFolder folder;
    CodecLibraries codecs;
    WriteWholeFile(folder / GetParam(), "old contents");
    EXPECT_FALSE(SaveImage(DrawingSurface(0, 0), folder / GetParam(), codecs.present).ok());
    EXPECT_EQ(ReadWholeFile(folder / GetParam()), "old contents");
    EXPECT_THAT(folder.names(), ElementsAre(GetParam()));
}

TEST_P(KeepsTheOldFile, WhenTheFolderIsReadOnlyAndSaysWhichFile) {
    if (::geteuid() == 0)
        GTEST_SKIP() << kSuperuserSkip;
    ScratchFolder folder;
    CodecLibraries codecs;
    WriteWholeFile(folder / GetParam(), "old contents");
    std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    const WriteResult result = SaveImage(SmallSurface(), folder / GetParam(), codecs.present);
    std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    EXPECT_FALSE(result.ok());
    EXPECT_THAT(result.error(), HasSubstr(GetParam()));
    EXPECT_EQ(ReadWholeFile(folder / GetParam()), "old contents");
}

INSTANTIATE_TEST_SUITE_P(Formats, KeepsTheOldFile,
                         ::testing::Values("a.bmp", "a.png", "a.jpg", "a.gif"),
                         [](const auto& info) { return test_names::NameOf(info.param); });

struct RoundTrip {
    std::string name;
    int tolerance; // largest channel difference allowed after decoding
};

class SavesThroughEveryWriter : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(SavesThroughEveryWriter, AFileAnotherDecoderReadsBack) {
    ScratchFolder folder;
    CodecLibraries codecs;
    // 255 pixels: few enough colours for GIF's exact palette, odd sizes for the row padding.
    const DrawingSurface surface = testing::PatternedSurface(17, 15);
    WriteWholeFile(folder / GetParam().name, "old contents");
    const WriteResult result = SaveImage(surface, folder / GetParam().name, codecs.present);
    ASSERT_TRUE(result.ok()) << result.error();
    const std::optional<QImage> decoded = testing::ReadWithQt(folder / GetParam().name);
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->size(), QSize(17, 15));
    EXPECT_LE(testing::LargestChannelDifference(*decoded, testing::AsQImage(surface)),
              GetParam().tolerance);
    EXPECT_THAT(folder.names(), ElementsAre(GetParam().name));
}

INSTANTIATE_TEST_SUITE_P(Formats, SavesThroughEveryWriter,
                         ::testing::Values(RoundTrip{"a.bmp", 0}, RoundTrip{"a.png", 0},
                                           RoundTrip{"a.gif", 0}, RoundTrip{"a.jpg", 8},
                                           RoundTrip{"a.JPEG", 8}),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             name.erase(0, 2);
                             return name;
                         });

} // namespace
} // namespace tidepool
