// The writer against the real file system: what a replaced file keeps, where a symlink leads,
// how long a name may be, and what is left behind.
#include "imagefile/atomic_write.h"
#include "imagefile/program_folder.h"
#include "imagefile/save_image.h"

#include "tests/support/file_bytes.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/test_name.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace tidepool {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::ReadWholeFile;
using testing::ScratchFolder;
using ::testing::UnorderedElementsAre;
using testing::WriteWholeFile;

// Why the cases that need permissions to bind skip as root, and where they run instead.
constexpr const char* kSuperuserSkip = "permissions do not bind the superuser; the CTest "
                                       "read_only_folder_tests runs this case as nobody";

FileWriter Writes(const std::string& text) {
    return [text](const fs::path& path) {
        WriteWholeFile(path, text);
        return WriteResult::Success();
    };
}

// Leaves a half-written file behind and then fails, as a writer hitting a full disk would.
WriteResult FailsHalfway(const fs::path& path) {
    WriteWholeFile(path, "half");
    return WriteResult::Failure("disk full");
}

TEST(AtomicWrite, CreatesTheFileAndLeavesNothingElse) {
    ScratchFolder folder;
    ASSERT_TRUE(AtomicWrite(folder / "a.bmp", Writes("new")).ok());
    EXPECT_EQ(ReadWholeFile(folder / "a.bmp"), "new");
    EXPECT_THAT(folder.names(), ElementsAre("a.bmp"));
}

TEST(AtomicWrite, ReplacesAnOldFile) {
    ScratchFolder folder;
    WriteWholeFile(folder / "a.bmp", "old contents");
    ASSERT_TRUE(AtomicWrite(folder / "a.bmp", Writes("new")).ok());
    EXPECT_EQ(ReadWholeFile(folder / "a.bmp"), "new");
    EXPECT_THAT(folder.names(), ElementsAre("a.bmp"));
}

TEST(AtomicWrite, WritesIntoTheCurrentFolderForABareName) {
    ScratchFolder folder;
    const auto previous = fs::current_path();
    fs::current_path(folder.path());
    const WriteResult result = AtomicWrite("bare.bmp", Writes("x"));
    fs::current_path(previous);
    ASSERT_TRUE(result.ok()) << result.error();
    EXPECT_THAT(folder.names(), ElementsAre("bare.bmp"));
}

TEST(AtomicWrite, AFailingWriterKeepsTheOldFileAndItsReason) {
    ScratchFolder folder;
    WriteWholeFile(folder / "a.bmp", "old contents");
    const WriteResult result = AtomicWrite(folder / "a.bmp", FailsHalfway);
    EXPECT_FALSE(result.ok());
    EXPECT_THAT(result.error(), HasSubstr("disk full"));
    EXPECT_THAT(result.error(), HasSubstr("a.bmp"));
    EXPECT_EQ(ReadWholeFile(folder / "a.bmp"), "old contents");
    EXPECT_THAT(folder.names(), ElementsAre("a.bmp"));
}

TEST(AtomicWrite, AFailingWriterCreatesNoFile) {
    ScratchFolder folder;
    EXPECT_FALSE(AtomicWrite(folder / "a.bmp", FailsHalfway).ok());
    EXPECT_TRUE(folder.names().empty());
}

TEST(AtomicWrite, AMissingFolderIsAnError) {
    ScratchFolder folder;
    const WriteResult result = AtomicWrite(folder / "missing" / "a.bmp", Writes("x"));
    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(folder.names().empty());
}

TEST(AtomicWrite, AFolderAtTheTargetIsLeftAlone) {
    ScratchFolder folder;
    fs::create_directory(folder / "a.bmp");
    WriteWholeFile(folder / "a.bmp" / "inside", "kept");
    EXPECT_FALSE(AtomicWrite(folder / "a.bmp", Writes("x")).ok());
    EXPECT_TRUE(fs::is_directory(folder / "a.bmp"));
    EXPECT_EQ(ReadWholeFile(folder / "a.bmp" / "inside"), "kept");
    EXPECT_THAT(folder.names(), ElementsAre("a.bmp"));
}

TEST(AtomicWrite, APathEndingInASlashIsAnError) {
    ScratchFolder folder;
    EXPECT_FALSE(AtomicWrite(folder.path().string() + "/", Writes("x")).ok());
    EXPECT_TRUE(folder.names().empty());
}

TEST(AtomicWrite, AReadOnlyFolderKeepsTheOldFile) {
    if (::geteuid() == 0)
        GTEST_SKIP() << kSuperuserSkip;
    ScratchFolder folder;
    WriteWholeFile(folder / "a.bmp", "old contents");
    fs::permissions(folder.path(), fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_FALSE(AtomicWrite(folder / "a.bmp", Writes("x")).ok());
    fs::permissions(folder.path(), fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(ReadWholeFile(folder / "a.bmp"), "old contents");
    EXPECT_THAT(folder.names(), ElementsAre("a.bmp"));
}

mode_t PermissionsOf(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

// Sets the process's umask for as long as it lives.
class ScopedUmask {
  public:
    explicit ScopedUmask(mode_t mask) : previous_(::umask(mask)) {}
    ~ScopedUmask() { ::umask(previous_); }
    ScopedUmask(const ScopedUmask&) = delete;
    ScopedUmask& operator=(const ScopedUmask&) = delete;

  private:
    mode_t previous_;
};

class KeepsTheModeOfTheFileItReplaces : public ::testing::TestWithParam<mode_t> {};

TEST_P(KeepsTheModeOfTheFileItReplaces, WhateverTheUmask) {
    const ScopedUmask umask(022);
    ScratchFolder folder;
    WriteWholeFile(folder / "a.bmp", "old");
    ASSERT_EQ(::chmod((folder / "a.bmp").c_str(), GetParam()), 0);
    const WriteResult result = AtomicWrite(folder / "a.bmp", Writes("new"));
    ASSERT_TRUE(result.ok()) << result.error();
    EXPECT_EQ(ReadWholeFile(folder / "a.bmp"), "new");
    EXPECT_EQ(PermissionsOf(folder / "a.bmp"), GetParam());
    EXPECT_THAT(folder.names(), ElementsAre("a.bmp"));
}

// Read-only (0444) is replaced as deleting it would be: the folder, not the file, decides.
INSTANTIATE_TEST_SUITE_P(Modes, KeepsTheModeOfTheFileItReplaces,
                         ::testing::Values(0600, 0640, 0444, 0755, 0666), [](const auto& info) {
                             return "Mode0" + std::to_string(info.param / 64) +
                                    std::to_string(info.param / 8 % 8) +
                                    std::to_string(info.param % 8);
                         });

// Only the superuser may give a file away; an ordinary user keeps what the system lets it.
TEST(AtomicWriteOwner, IsKeptWhenTheSuperuserReplacesAnotherUsersFile) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only the superuser can make a file of another owner";
    ScratchFolder folder;
    WriteWholeFile(folder / "a.bmp", "old");
    ASSERT_EQ(::chown((folder / "a.bmp").c_str(), 65534, 65534), 0);
    ASSERT_TRUE(AtomicWrite(folder / "a.bmp", Writes("new")).ok());
    struct stat info {};
    ASSERT_EQ(::stat((folder / "a.bmp").c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(info.st_gid, 65534u);
}

TEST(AtomicWriteNewFile, GetsTheModeTheUmaskLeaves) {
    for (const auto& [mask, expected] : {std::pair<mode_t, mode_t>{022, 0644}, {077, 0600}}) {
        const ScopedUmask umask(mask);
        ScratchFolder folder;
        ASSERT_TRUE(AtomicWrite(folder / "a.bmp", Writes("new")).ok());
        EXPECT_EQ(PermissionsOf(folder / "a.bmp"), expected) << "umask " << mask;
    }
}

struct LinkCase {
    const char* name;
    // Makes the link "a.bmp" in `links` lead, in any way, to `picture`; returns the link text
    // that must still be there afterwards.
    std::function<std::string(const fs::path& links, const fs::path& picture)> make;
};

class ReplacesWhatASymlinkLeadsTo : public ::testing::TestWithParam<LinkCase> {};

TEST_P(ReplacesWhatASymlinkLeadsTo, AndKeepsTheLink) {
    ScratchFolder links, pictures;
    fs::create_directory(pictures / "deeper");
    const fs::path picture = pictures / "deeper" / "real.bmp";
    WriteWholeFile(picture, "old");
    ASSERT_EQ(::chmod(picture.c_str(), 0600), 0);
    const std::string linkText = GetParam().make(links.path(), picture);

    const WriteResult result = AtomicWrite(links / "a.bmp", Writes("new"));
    ASSERT_TRUE(result.ok()) << result.error();
    ASSERT_TRUE(fs::is_symlink(links / "a.bmp"));
    EXPECT_EQ(fs::read_symlink(links / "a.bmp").string(), linkText);
    EXPECT_EQ(ReadWholeFile(picture), "new");
    EXPECT_EQ(PermissionsOf(picture), 0600u);
    EXPECT_THAT(pictures.names(), ElementsAre("deeper"));
    EXPECT_THAT(fs::directory_iterator(pictures / "deeper")->path().filename(), "real.bmp");
}

INSTANTIATE_TEST_SUITE_P(
    Links, ReplacesWhatASymlinkLeadsTo,
    ::testing::Values(LinkCase{"Absolute",
                               [](const fs::path& links, const fs::path& picture) {
                                   fs::create_symlink(picture, links / "a.bmp");
                                   return picture.string();
                               }},
                      LinkCase{"RelativeToTheLinksFolder",
                               [](const fs::path& links, const fs::path& picture) {
                                   const fs::path relative = picture.lexically_relative(links);
                                   fs::create_symlink(relative, links / "a.bmp");
                                   return relative.string();
                               }},
                      LinkCase{"ThroughASecondLinkInAnotherFolder",
                               [](const fs::path& links, const fs::path& picture) {
                                   fs::create_symlink("real.bmp",
                                                      picture.parent_path() / "via.bmp");
                                   fs::create_symlink(picture.parent_path() / "via.bmp",
                                                      links / "a.bmp");
                                   return (picture.parent_path() / "via.bmp").string();
                               }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AtomicWriteSymlink, ThatLeadsNowhereGetsItsFileCreated) {
    ScratchFolder folder;
    fs::create_symlink("made.bmp", folder / "a.bmp");
    const WriteResult result = AtomicWrite(folder / "a.bmp", Writes("new"));
    ASSERT_TRUE(result.ok()) << result.error();
    EXPECT_TRUE(fs::is_symlink(folder / "a.bmp"));
    EXPECT_EQ(ReadWholeFile(folder / "made.bmp"), "new");
    EXPECT_THAT(folder.names(), UnorderedElementsAre("a.bmp", "made.bmp"));
}

TEST(AtomicWriteSymlink, InALoopIsAnErrorAndTouchesNothing) {
    ScratchFolder folder;
    fs::create_symlink("b.bmp", folder / "a.bmp");
    fs::create_symlink("a.bmp", folder / "b.bmp");
    const WriteResult result = AtomicWrite(folder / "a.bmp", Writes("new"));
    EXPECT_FALSE(result.ok());
    EXPECT_THAT(result.error(), HasSubstr("a.bmp"));
    EXPECT_TRUE(fs::is_symlink(folder / "a.bmp"));
    EXPECT_TRUE(fs::is_symlink(folder / "b.bmp"));
    EXPECT_THAT(folder.names(), UnorderedElementsAre("a.bmp", "b.bmp"));
}

// The link's own folder may be writable; the file it leads to is replaced in its folder, which
// decides.
TEST(AtomicWriteSymlink, IntoAReadOnlyFolderKeepsTheOldFile) {
    if (::geteuid() == 0)
        GTEST_SKIP() << kSuperuserSkip;
    ScratchFolder links, pictures;
    WriteWholeFile(pictures / "real.bmp", "old");
    fs::create_symlink(pictures / "real.bmp", links / "a.bmp");
    fs::permissions(pictures.path(), fs::perms::owner_write, fs::perm_options::remove);
    const WriteResult result = AtomicWrite(links / "a.bmp", Writes("new"));
    fs::permissions(pictures.path(), fs::perms::owner_write, fs::perm_options::add);
    EXPECT_FALSE(result.ok());
    EXPECT_THAT(result.error(), HasSubstr("a.bmp"));
    EXPECT_EQ(ReadWholeFile(pictures / "real.bmp"), "old");
    EXPECT_TRUE(fs::is_symlink(links / "a.bmp"));
    EXPECT_THAT(links.names(), ElementsAre("a.bmp"));
    EXPECT_THAT(pictures.names(), ElementsAre("real.bmp"));
}

// A drop box: a folder its users may write into but not list. The new picture still goes in.
TEST(AtomicWriteDropBox, SavesIntoAFolderThatCannotBeRead) {
    if (::geteuid() == 0)
        GTEST_SKIP() << kSuperuserSkip;
    ScratchFolder folder;
    WriteWholeFile(folder / "a.bmp", "old");
    fs::permissions(folder.path(), fs::perms::owner_read, fs::perm_options::remove);
    const WriteResult result = AtomicWrite(folder / "a.bmp", Writes("new"));
    fs::permissions(folder.path(), fs::perms::owner_read, fs::perm_options::add);
    EXPECT_TRUE(result.ok()) << result.error();
    EXPECT_EQ(ReadWholeFile(folder / "a.bmp"), "new");
    EXPECT_THAT(folder.names(), ElementsAre("a.bmp"));
}

// 255 bytes is the longest name Linux file systems take; the temporary beside it must not be
// longer, whatever the target is called.
class TakesTheLongestName : public ::testing::TestWithParam<std::string> {};

TEST_P(TakesTheLongestName, AndReplacesAFileOfThatName) {
    const std::string name = GetParam();
    ASSERT_EQ(name.size(), 255u);
    ScratchFolder folder;
    WriteWholeFile(folder / name, "old");
    ASSERT_EQ(ReadWholeFile(folder / name), "old");
    const WriteResult result = AtomicWrite(folder / name, Writes("new"));
    ASSERT_TRUE(result.ok()) << result.error();
    EXPECT_EQ(ReadWholeFile(folder / name), "new");
    EXPECT_THAT(folder.names(), ElementsAre(name));
}

// 41 times "壁紙" (6 bytes each in UTF-8), five letters and the extension.
std::string JapaneseName() {
    std::string name;
    for (int i = 0; i < 41; ++i)
        name += "壁紙";
    return name + "xxxxx.bmp";
}

INSTANTIATE_TEST_SUITE_P(Names, TakesTheLongestName,
                         ::testing::Values(std::string(251, 'a') + ".bmp", JapaneseName()),
                         [](const auto& info) {
                             return info.param[0] == 'a' ? "Ascii" : "Japanese";
                         });

TEST(AtomicWriteTemporary, IsShortAndTheSameLengthWhateverTheTarget) {
    ScratchFolder folder;
    std::vector<std::size_t> lengths;
    for (const std::string& name : {std::string("a.bmp"), std::string(251, 'b') + ".bmp"}) {
        ASSERT_TRUE(AtomicWrite(folder / name, [&](const fs::path& temporary) {
                        lengths.push_back(temporary.filename().string().size());
                        EXPECT_EQ(temporary.parent_path(), folder.path());
                        return Writes("x")(temporary);
                    }).ok());
    }
    ASSERT_EQ(lengths.size(), 2u);
    EXPECT_EQ(lengths[0], lengths[1]);
    EXPECT_LE(lengths[0], 32u);
}

// Through the codec plug-in too, which writes the temporary by its own name.
TEST(AtomicWriteTemporary, LetsThePlugInSaveUnderTheLongestName) {
    ScratchFolder folder;
    CodecLibrary codec(ProgramFolder());
    DrawingSurface surface(4, 3);
    const std::string name = std::string(251, 'p') + ".png";
    const WriteResult result = SaveImage(surface, folder / name, codec);
    ASSERT_TRUE(result.ok()) << result.error();
    EXPECT_THAT(folder.names(), ElementsAre(name));
}

// A file system that takes no new files: refused, and the refusal names the file.
TEST(AtomicWriteProc, IsRefusedAndNamesTheFile) {
    const WriteResult result = AtomicWrite("/proc/tidepool-picture.bmp", Writes("new"));
    EXPECT_FALSE(result.ok());
    EXPECT_THAT(result.error(), HasSubstr("/proc/tidepool-picture.bmp"));
    EXPECT_FALSE(fs::exists("/proc/tidepool-picture.bmp"));
}

// A file of /proc that exists and can even be written is not replaced by a rename.
TEST(AtomicWriteProc, LeavesAnExistingEntryAsItWas) {
    const fs::path entry = "/proc/self/comm";
    const std::string before = ReadWholeFile(entry);
    EXPECT_FALSE(AtomicWrite(entry, Writes("renamed\n")).ok());
    EXPECT_EQ(ReadWholeFile(entry), before);
}

} // namespace
} // namespace tidepool
