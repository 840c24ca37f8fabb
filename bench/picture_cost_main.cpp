// Loads each hostile background picture as the drawing job does, each in a process of its own,
// and prints how long it took and the process's peak resident memory, against the goal for any
// file under 1 MB.
//
// Usage: tidepool_picture_cost [--check] [--rounds N] [kind...]
//   kind        one of the kinds listed by --list (default: all)
//   --check     exit with status 1 when any kind misses the goal
//   --rounds N  load each kind N times (default 3): the median time and the largest peak count
//   --list      print the kinds and what each is
// Internally: tidepool_picture_cost --load FILE loads one file and prints its figures.

#include "bench/hostile_pictures.h"

#include "imagefile/load_picture.h"
#include "imagefile/program_folder.h"
#include "render/raster/drawing_surface.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <string_view>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using namespace tidepool;
using namespace tidepool::bench;

constexpr double kGoalMs = 2000;
constexpr double kGoalMb = 320;

struct Cost {
    bool ran = false;
    bool loaded = false;
    double ms = 0;    // the load, wall clock
    double cpuMs = 0; // the whole process, user and system

    double peakMb = 0;
};

// This process's peak resident memory. Not getrusage's figure: a process started by posix_spawn
// inherits the peak of the one that started it, which made the pictures.
double PeakMb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtod(line.c_str() + 6, nullptr) / 1024;
    return 0;
}

// The child's side: one load, as the drawing job makes it, and one line of figures.
int LoadOne(const char* path) {
    // The decoders' remarks on a damaged file would only clutter the table.
    ::setenv("QT_LOGGING_RULES", "qt.gui.imageio*=false", 0);
    CodecLibrary codec(ProgramFolder());
    DrawingSurface target;
    const auto start = std::chrono::steady_clock::now();
    const bool loaded = LoadPictureFile(target, path, codec) == kPictureLoaded;
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    std::printf("%s %.1f %.1f\n", loaded ? "loaded" : "refused", took.count(), PeakMb());
    return 0;
}

Cost MeasureOnce(const std::filesystem::path& file) {
    int out[2];
    if (::pipe(out) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    std::string load = "--load";
    std::string path = file.string();
    char* argv[] = {self.data(), load.data(), path.data(), nullptr};
    pid_t child = 0;
    const int spawned = posix_spawn(&child, self.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    Cost cost;
    if (spawned == 0) {
        char line[128] = {};
        FILE* from = ::fdopen(out[0], "r");
        char result[16] = {};
        if (from && std::fgets(line, sizeof line, from) &&
            std::sscanf(line, "%15s %lf %lf", result, &cost.ms, &cost.peakMb) == 3) {
            cost.ran = true;
            cost.loaded = std::string_view(result) == "loaded";
        }
        if (from)
            std::fclose(from);
        int status = 0;
        rusage usage{};
        ::wait4(child, &status, 0, &usage);
        const auto toMs = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
        cost.cpuMs = toMs(usage.ru_utime) + toMs(usage.ru_stime);
        cost.ran = cost.ran && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    } else {
        ::close(out[0]);
    }
    return cost;
}

// The median time and the largest peak of several loads, each in a fresh process.
Cost Measure(const std::filesystem::path& file, int rounds) {
    std::vector<Cost> costs;
    for (int i = 0; i < rounds; ++i)
        costs.push_back(MeasureOnce(file));
    Cost result = costs.front();
    for (const Cost& cost : costs) {
        result.ran = result.ran && cost.ran && cost.loaded == costs.front().loaded;
        result.peakMb = std::max(result.peakMb, cost.peakMb);
    }
    std::sort(costs.begin(), costs.end(), [](const Cost& a, const Cost& b) { return a.ms < b.ms; });
    result.ms = costs[costs.size() / 2].ms;
    std::sort(costs.begin(), costs.end(),
              [](const Cost& a, const Cost& b) { return a.cpuMs < b.cpuMs; });
    result.cpuMs = costs[costs.size() / 2].cpuMs;
    return result;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string_view(argv[1]) == "--load")
        return LoadOne(argv[2]);

    bool check = false;
    int rounds = 3;
    std::vector<std::string_view> chosen;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--check") {
            check = true;
        } else if (arg == "--rounds" && i + 1 < argc) {
            rounds = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--list") {
            for (const HostilePicture& kind : HostilePictures())
                std::printf("%-28.*s %.*s\n", static_cast<int>(kind.name.size()), kind.name.data(),
                            static_cast<int>(kind.what.size()), kind.what.data());
            return 0;
        } else {
            chosen.push_back(arg);
        }
    }

    char folderTemplate[] = "/tmp/tidepool-hostile-XXXXXX";
    if (::mkdtemp(folderTemplate) == nullptr)
        return 2;
    const std::filesystem::path folder = folderTemplate;

    std::printf("Each picture loaded %d times, each in a process of its own: the medians of the\n"
                "load's wall-clock time and of the whole process's processor time (user and\n"
                "system; the goal's measure, as a shared machine's waits are not the\n"
                "program's), and the largest peak resident memory of the whole process.\n",
                rounds);
    std::printf("%-28s %8s %8s %8s %8s %8s  goal: cpu <= %.0f ms, peak <= %.0f MB\n", "picture",
                "file KB", "result", "wall ms", "cpu ms", "peak MB", kGoalMs, kGoalMb);
    bool allMet = true;
    for (const HostilePicture& kind : HostilePictures()) {
        if (!chosen.empty() && std::find(chosen.begin(), chosen.end(), kind.name) == chosen.end())
            continue;
        const std::string bytes = MakeHostilePicture(kind.name);
        const std::filesystem::path file =
            folder / (std::string(kind.name) + std::string(kind.extension));
        std::ofstream(file, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        const Cost cost = Measure(file, rounds);
        std::filesystem::remove(file);
        const bool met = cost.ran && cost.cpuMs <= kGoalMs && cost.peakMb <= kGoalMb;
        allMet &= met;
        std::printf("%-28.*s %8.0f %8s %8.0f %8.0f %8.0f  %s\n", static_cast<int>(kind.name.size()),
                    kind.name.data(), static_cast<double>(bytes.size()) / 1024,
                    !cost.ran     ? "FAILED"
                    : cost.loaded ? "loaded"
                                  : "refused",
                    cost.ms, cost.cpuMs, cost.peakMb, met ? "met" : "NOT met");
        std::fflush(stdout);
    }
    std::filesystem::remove_all(folder);
    return check && !allMet ? 1 : 0;
}
