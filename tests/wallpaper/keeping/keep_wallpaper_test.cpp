// The follower's lock as another process holds it (a python3 holding a POSIX record lock, as the
// follower does), forgetting with such a follower running, and keeping with a renderer that cannot
// follow.
#include "tests/support/file_bytes.h"
#include "tests/support/scratch_folder.h"
#include "wallpaper/keeping/follower_lock.h"
#include "wallpaper/keeping/keep_wallpaper.h"

#include <QProcess>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tidepool {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::ScratchFolder;

// Another process holding the lock file until it is ended.
class LockHolder {
  public:
    explicit LockHolder(const std::filesystem::path& file) {
        process_.start(QStringLiteral("python3"),
                       {QStringLiteral("-c"),
                        QStringLiteral("import fcntl, sys, time\n"
                                       "f = open(sys.argv[1], 'a')\n"
                                       "fcntl.lockf(f, fcntl.LOCK_EX | fcntl.LOCK_NB)\n"
                                       "print('held', flush=True)\n"
                                       "time.sleep(60)\n"),
                        QString::fromStdString(file.string())});
        process_.waitForReadyRead(10000);
    }
    ~LockHolder() {
        process_.kill();
        process_.waitForFinished();
    }
    pid_t pid() const { return static_cast<pid_t>(process_.processId()); }
    bool ended() { return process_.waitForFinished(5000); }

  private:
    QProcess process_;
};

TEST(FollowerLock, IsHeldByOneProcessAndNamesIt) {
    ScratchFolder scratch;
    const std::filesystem::path file = FollowerLockFile(scratch / "new", ":0");
    {
        std::filesystem::create_directories(scratch / "new");
        LockHolder other(file);
        EXPECT_EQ(FollowerHolding(file), other.pid());
        const FollowerLock second(file);
        EXPECT_FALSE(second.held());
        EXPECT_EQ(second.holder(), other.pid());
        EXPECT_THAT(RunningFollowers(scratch / "new"), ElementsAre(other.pid()));
    }
    const FollowerLock mine(file);
    EXPECT_TRUE(mine.held());
    EXPECT_EQ(FollowerHolding(file), std::nullopt);
}

TEST(FollowerLock, AnyDisplayNameMakesOneFile) {
    EXPECT_EQ(FollowerLockFile("/r", "/run/user/1/wayland-1%"),
              "/r/follow-%2Frun%2Fuser%2F1%2Fwayland-1%25.lock");
    EXPECT_EQ(SessionDisplay({{"DISPLAY", ":1"}, {"WAYLAND_DISPLAY", "wayland-0"}}), "wayland-0");
    EXPECT_EQ(SessionDisplay({{"DISPLAY", ":1"}}), ":1");
}

TEST(ForgettingTheWallpaper, RemovesTheEntryAndEndsTheFollowers) {
    ScratchFolder scratch;
    const Environment environment{{"XDG_CONFIG_HOME", (scratch / "config").string()},
                                  {"XDG_RUNTIME_DIR", (scratch / "run").string()}};
    const std::filesystem::path entry =
        scratch / "config" / "autostart" / "org.example.Tidepool.Follow.desktop";
    std::filesystem::create_directories(entry.parent_path());
    std::filesystem::create_directories(scratch / "run" / "tidepool");
    testing::WriteWholeFile(entry, "[Desktop Entry]\n");
    EXPECT_TRUE(WallpaperKept(environment));
    LockHolder follower(FollowerLockFile(scratch / "run" / "tidepool", "wayland-1"));

    const KeepReport report = ForgetWallpaper(environment);
    EXPECT_TRUE(report.ok()) << report.error;
    EXPECT_THAT(report.lines, ElementsAre("removed " + entry.string(),
                                          HasSubstr("ended the follower, process " +
                                                    std::to_string(follower.pid()))));
    EXPECT_TRUE(follower.ended());
    EXPECT_FALSE(WallpaperKept(environment));

    const KeepReport again = ForgetWallpaper(environment);
    EXPECT_TRUE(again.ok());
    EXPECT_THAT(again.lines,
                ElementsAre("there was no autostart entry to remove", "no follower was running"));
}

// The entry is written (it starts a follower at the next login), but no follower runs now, and
// the renderer's own last words say why.
TEST(KeepingTheWallpaper, SaysWhyNoFollowerStarted) {
    ScratchFolder scratch;
    const std::filesystem::path renderer = scratch / "tidepool-render";
    testing::WriteWholeFile(renderer,
                            "#!/bin/sh\necho \"$1: cannot open the display\" >&2\nexit 4\n");
    std::filesystem::permissions(renderer, std::filesystem::perms::owner_all);
    const Environment environment{{"XDG_CONFIG_HOME", (scratch / "config").string()},
                                  {"XDG_RUNTIME_DIR", (scratch / "run").string()},
                                  {"DISPLAY", ":99"}};
    const KeepReport report = KeepWallpaper(environment, renderer);
    EXPECT_EQ(report.failure, KeepReport::Failure::NoFollower);
    EXPECT_EQ(report.error,
              "the follower ended at once: --follow-screens: cannot open the display");
    EXPECT_TRUE(WallpaperKept(environment));

    EXPECT_EQ(KeepWallpaper({{"XDG_CONFIG_HOME", (scratch / "config").string()}}, renderer).error,
              "no display to follow: neither WAYLAND_DISPLAY nor DISPLAY is set");
}

} // namespace
} // namespace tidepool
