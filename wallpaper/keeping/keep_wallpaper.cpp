#include "wallpaper/keeping/keep_wallpaper.h"

#include "imagefile/atomic_write.h"
#include "wallpaper/core/tool_runner.h"
#include "wallpaper/core/user_folders.h"
#include "wallpaper/keeping/autostart_entry.h"
#include "wallpaper/keeping/follower_lock.h"

#include <QProcess>

#include <csignal>
#include <fstream>
#include <unistd.h>

namespace tidepool {

namespace {

namespace fs = std::filesystem;
using Failure = KeepReport::Failure;

KeepReport Failed(Failure failure, std::string error, std::vector<std::string> lines = {}) {
    return {failure, std::move(lines), std::move(error)};
}

// Whether the process is there and has not ended: one that has ended but was not yet collected
// by whoever inherited it still has a process id.
bool Running(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return false;
    const std::size_t close = line.rfind(')');
    return close != std::string::npos && close + 2 < line.size() && line[close + 2] != 'Z' &&
           line[close + 2] != 'X';
}

// The last line the follower wrote before it ended, which says why.
std::string LastLine(const fs::path& log) {
    std::ifstream in(log);
    std::string line, last;
    while (std::getline(in, line))
        if (!line.empty())
            last = line;
    return last;
}

std::string ProcessName(pid_t pid) {
    return "process " + std::to_string(pid);
}

// Starts `renderer --follow-screens` detached, its output appended to log; its id, or none.
std::optional<qint64> StartFollower(const Environment& environment, const fs::path& renderer,
                                    const fs::path& log, std::string& error) {
    std::error_code ignored;
    fs::remove(log, ignored);
    QProcess process;
    process.setProgram(QString::fromStdString(renderer.string()));
    process.setArguments({QStringLiteral("--follow-screens")});
    process.setProcessEnvironment(QtEnvironment(environment));
    // Not the caller's folder, which a follower living for the whole session would keep busy.
    process.setWorkingDirectory(QStringLiteral("/"));
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QString::fromStdString(log.string()), QIODevice::Append);
    process.setStandardErrorFile(QString::fromStdString(log.string()), QIODevice::Append);
    qint64 pid = 0;
    if (!process.startDetached(&pid)) {
        error = "cannot start " + renderer.string() + ": " + process.errorString().toStdString();
        return std::nullopt;
    }
    return pid;
}

KeepReport EnsureFollower(const Environment& environment, const fs::path& renderer,
                          const Deadline& deadline, std::vector<std::string> lines) {
    const std::string display = SessionDisplay(environment);
    if (display.empty())
        return Failed(Failure::NoFollower,
                      "no display to follow: neither WAYLAND_DISPLAY nor DISPLAY is set", lines);
    const FolderChoice folder = FollowerFolder(environment);
    if (!folder.error.empty())
        return Failed(Failure::NoFollower, folder.error + " to keep the follower's lock in", lines);
    const fs::path lock = FollowerLockFile(folder.folder, display);
    if (const std::optional<pid_t> running = FollowerHolding(lock)) {
        lines.push_back("a follower already keeps it on display " + display + " (" +
                        ProcessName(*running) + ")");
        return {Failure::None, std::move(lines), ""};
    }
    std::error_code error;
    fs::create_directories(folder.folder, error);
    fs::path log = lock;
    log.replace_extension(".log");
    std::string why;
    const std::optional<qint64> started = StartFollower(environment, renderer, log, why);
    if (!started)
        return Failed(Failure::NoFollower, why, lines);
    const auto pid = static_cast<pid_t>(*started);
    std::optional<pid_t> holder;
    PollUntil(deadline, [&] {
        holder = FollowerHolding(lock);
        return holder.has_value() || !Running(pid);
    });
    if (!holder) {
        const std::string said = LastLine(log);
        return Failed(Failure::NoFollower,
                      Running(pid) ? "the follower started did not take its lock in time"
                                   : "the follower ended at once" +
                                         (said.empty() ? std::string() : ": " + said),
                      lines);
    }
    lines.push_back("started a follower on display " + display + " (" + ProcessName(*holder) +
                    "), which holds its lock; it writes to " + log.string());
    return {Failure::None, std::move(lines), ""};
}

// Ends every follower holding a lock in folder: politely first, then for certain.
KeepReport EndFollowers(const fs::path& folder, const Deadline& deadline,
                        std::vector<std::string> lines) {
    const std::vector<pid_t> followers = RunningFollowers(folder);
    if (followers.empty()) {
        lines.push_back("no follower was running");
        return {Failure::None, std::move(lines), ""};
    }
    for (const pid_t pid : followers)
        ::kill(pid, SIGTERM);
    if (!PollUntil(deadline, [&] { return RunningFollowers(folder).empty(); })) {
        for (const pid_t pid : RunningFollowers(folder))
            ::kill(pid, SIGKILL);
        if (!PollUntil(Deadline(std::chrono::seconds(1)),
                       [&] { return RunningFollowers(folder).empty(); }))
            return Failed(Failure::NoFollower, "a follower did not end", lines);
    }
    for (const pid_t pid : followers)
        lines.push_back("ended the follower, " + ProcessName(pid) +
                        ", and saw it let go of its lock");
    return {Failure::None, std::move(lines), ""};
}

} // namespace

KeepReport KeepWallpaper(const Environment& environment, const fs::path& renderer,
                         const Deadline& deadline) {
    const EntryLocation entry = FollowerEntryFile(environment);
    if (!entry.error.empty())
        return Failed(Failure::NoFolder, entry.error);
    // An entry naming a program that is not there would fail at every login, unseen.
    if (::access(renderer.c_str(), X_OK) != 0)
        return Failed(Failure::EntryNotSaved, "no autostart entry written: " + renderer.string() +
                                                  " is not a program that can be run");
    const std::optional<std::string> text = FollowerEntry(renderer);
    if (!text)
        return Failed(Failure::EntryNotSaved,
                      "an autostart entry cannot start " + renderer.string() +
                          ": not an absolute path of UTF-8 text without control characters or '%'");
    std::error_code error;
    fs::create_directories(entry.file.parent_path(), error);
    if (const WriteResult written = AtomicWriteText(entry.file, *text); !written.ok())
        return Failed(Failure::EntryNotSaved, written.error());
    return EnsureFollower(
        environment, renderer, deadline,
        {"wrote " + entry.file.string() + ", which starts the follower at login"});
}

KeepReport ForgetWallpaper(const Environment& environment, const Deadline& deadline) {
    std::vector<std::string> lines;
    if (const EntryLocation entry = FollowerEntryFile(environment); entry.error.empty()) {
        std::error_code error;
        if (fs::remove(entry.file, error))
            lines.push_back("removed " + entry.file.string());
        else if (error)
            return Failed(Failure::EntryNotSaved,
                          "cannot remove " + entry.file.string() + ": " + error.message());
        else
            lines.push_back("there was no autostart entry to remove");
    }
    const FolderChoice folder = FollowerFolder(environment);
    if (!folder.error.empty()) {
        lines.push_back("no follower folder, so no follower");
        return {Failure::None, std::move(lines), ""};
    }
    return EndFollowers(folder.folder, deadline, std::move(lines));
}

bool WallpaperKept(const Environment& environment) {
    const EntryLocation entry = FollowerEntryFile(environment);
    std::error_code error;
    return entry.error.empty() && fs::is_regular_file(entry.file, error);
}

fs::path RendererBeside(const fs::path& folder) {
    return folder / "tidepool-render";
}

} // namespace tidepool
