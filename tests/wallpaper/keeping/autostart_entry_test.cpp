#include "tests/support/file_bytes.h"
#include "tests/support/scratch_folder.h"
#include "wallpaper/keeping/autostart_entry.h"

#include <QProcess>
#include <QThread>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tidepool {
namespace {

using ::testing::HasSubstr;
using testing::ReadWholeFile;
using testing::ScratchFolder;
using testing::WriteWholeFile;

// Runs a program with its arguments as given, no shell between; its exit status.
int RunProgram(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(program, arguments);
    process.waitForFinished(20000);
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// The entry as the desktops read it: checked by desktop-file-validate, then started by GLib's
// own launcher (what GNOME's and Cinnamon's session managers use), from a folder whose name a
// shell or a careless quoting would act on. The program must get exactly its path and the one
// option, and nothing in the name may run.
TEST(FollowerEntry, IsStartedAsWrittenByARealLauncher) {
    ScratchFolder scratch;
    const std::filesystem::path folder = scratch / "a b\"c$(touch ran)`touch ran`;d'e ü 壁紙 #\\x";
    std::filesystem::create_directories(folder);
    const std::filesystem::path renderer = folder / "tidepool-render";
    WriteWholeFile(renderer,
                   "#!/bin/sh\nprintf '%s\\n' \"$0\" \"$@\" > \"$(dirname \"$0\")/args\"\n");
    std::filesystem::permissions(renderer, std::filesystem::perms::owner_all);
    const std::optional<std::string> entry = FollowerEntry(renderer);
    ASSERT_TRUE(entry);
    EXPECT_THAT(*entry, HasSubstr("\nNoDisplay=true\n"));
    const std::filesystem::path file = scratch / std::string(kFollowerEntryName);
    WriteWholeFile(file, *entry);

    EXPECT_EQ(RunProgram(QStringLiteral("desktop-file-validate"),
                         {QString::fromStdString(file.string())}),
              0);
    EXPECT_EQ(RunProgram(QStringLiteral("gio"),
                         {QStringLiteral("launch"), QString::fromStdString(file.string())}),
              0);
    for (int tries = 0; tries < 100 && !std::filesystem::exists(folder / "args"); ++tries)
        QThread::msleep(50);
    EXPECT_EQ(ReadWholeFile(folder / "args"), renderer.string() + "\n--follow-screens\n");
    EXPECT_FALSE(std::filesystem::exists(scratch / "ran"));
    EXPECT_FALSE(std::filesystem::exists(folder / "ran"));
}

TEST(FollowerEntry, RefusesAPathNoEntryCanCarryToEveryDesktop) {
    for (const char* path :
         {"/a\nb/tidepool-render", "/a\tb/tidepool-render", "/100%/tidepool-render",
          "/\xFF/tidepool-render", "relative/tidepool-render"})
        EXPECT_FALSE(FollowerEntry(path)) << path;
    EXPECT_EQ(ExecArgument("a\"`$\\b"), "\"a\\\\\"\\\\`\\\\$\\\\\\\\b\"");
}

TEST(FollowerEntry, LivesInTheAutostartFolder) {
    EXPECT_EQ(FollowerEntryFile({{"XDG_CONFIG_HOME", "/c"}}).file,
              "/c/autostart/org.example.Tidepool.Follow.desktop");
    EXPECT_EQ(FollowerEntryFile({{"HOME", "/h"}}).file,
              "/h/.config/autostart/org.example.Tidepool.Follow.desktop");
}

} // namespace
} // namespace tidepool
