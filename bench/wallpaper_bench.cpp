// Times putting a wallpaper on the desktop: cutting a 3840 x 2160 screen's picture from the tiled
// canvas, for the smallest and the largest canvas, and that picture written as the PNG a desktop is
// handed; then whole applications on a desktop of two 3840 x 2160 screens, against a stand-in sway
// (its swaymsg and swaybg) and against the X11 root window of the X server in DISPLAY, each run off
// the thread whose event loop is timed meanwhile, as the window runs it.

#include "bench/bench_cases.h"

#include "imagefile/codec_library.h"
#include "imagefile/program_folder.h"
#include "render/draw_job.h"
#include "tests/support/scratch_folder.h"
#include "wallpaper/apply_wallpaper.h"
#include "wallpaper/core/wallpaper_plan.h"
#include "wallpaper/core/wallpaper_store.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFutureWatcher>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace tidepool::bench {
namespace {

namespace fs = std::filesystem;

const std::vector<Screen> kUhdScreen{{"DP-1", 0, 0, 3840, 2160, 1}};
const std::vector<Screen> kTwoUhdScreens{{"DP-1", 0, 0, 3840, 2160, 1},
                                         {"DP-2", 3840, 0, 3840, 2160, 1}};

DrawingSurface Drawn(BenchCase id) {
    RenderSettings render;
    DrawingSurface canvas(240, 320);
    WorkBuffers buffers;
    MainSettings settings = MakeSettings(id);
    DrawJob(settings, render, canvas, buffers, MakeOfflineServices());
    return canvas;
}

void BM_Compose(benchmark::State& state, BenchCase id) {
    const DrawingSurface canvas = Drawn(id);
    const WallpaperPlan plan = PlanPictures(kUhdScreen, PictureSet::OneForAll);
    for (auto _ : state) {
        std::vector<DrawingSurface> pictures = ComposePictures(canvas, plan);
        benchmark::DoNotOptimize(pictures.front().pixels());
    }
    state.counters["goal_ms"] = 10;
}

void BM_ComposeAndStore(benchmark::State& state) {
    CodecLibrary codec(ProgramFolder());
    const DrawingSurface canvas = Drawn(BenchCase::Default);
    const WallpaperPlan plan = PlanPictures(kUhdScreen, PictureSet::OneForAll);
    const testing::ScratchFolder folder;
    auto now = std::chrono::system_clock::now();
    for (auto _ : state) {
        now += std::chrono::seconds(1);
        const StoredPictures stored = StorePictures(
            folder.path(), plan.pictures.size(),
            [&](std::size_t i) {
                return CutFromTiling(canvas, plan.pictures[i], plan.originX, plan.originY);
            },
            codec, now);
        if (!stored.ok()) {
            state.SkipWithError(stored.error.c_str());
            break;
        }
    }
    state.counters["goal_ms"] = 150;
}

// One application run off this thread, as the window runs it, while this thread's event loop
// ticks every 5 ms: the longest gap between two ticks is how long the loop was blocked.
WallpaperReport ApplyBesideAnEventLoop(const DrawingSurface& canvas, const DesktopSession& session,
                                       double& longestGapMs) {
    QFutureWatcher<WallpaperReport> job;
    QEventLoop loop;
    QObject::connect(&job, &QFutureWatcher<WallpaperReport>::finished, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    QTimer tick;
    qint64 last = 0;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longestGapMs = std::max(longestGapMs, (now - last) / 1e6);
        last = now;
    });
    clock.start();
    tick.start(5);
    job.setFuture(QtConcurrent::run([&canvas, &session] {
        CodecLibrary codec(ProgramFolder());
        return ApplyWallpaper(canvas, codec, session);
    }));
    loop.exec();
    return job.result();
}

// Times whole applications, each beside a ticking event loop, and reports the longest block.
void TimeApplications(benchmark::State& state, const DrawingSurface& canvas,
                      const DesktopSession& session) {
    double longestGapMs = 0;
    for (auto _ : state) {
        const WallpaperReport report = ApplyBesideAnEventLoop(canvas, session, longestGapMs);
        if (!report.applied()) {
            std::string lines;
            for (const std::string& line : ReportLines(report))
                lines += line + "; ";
            state.SkipWithError(lines.c_str());
            return;
        }
    }
    state.counters["goal_ms"] = 1000;
    state.counters["loop_blocked_ms"] = longestGapMs;
    state.counters["loop_goal_ms"] = 50;
}

// sway's swaymsg, listing two 4K outputs and starting a stand-in swaybg for each background, as
// sway does; the stand-in lives long enough to be found.
void WriteStandInSway(const fs::path& tools) {
    fs::create_directories(tools);
    std::ofstream(tools / "swaymsg")
        << "#!/bin/bash\n"
           "case $1 in\n"
           "-t) printf '%s' '[{\"name\":\"DP-1\",\"active\":true,\"scale\":1,\"rect\":{\"x\":0,"
           "\"y\":0,\"width\":3840,\"height\":2160}},{\"name\":\"DP-2\",\"active\":true,"
           "\"scale\":1,\"rect\":{\"x\":3840,\"y\":0,\"width\":3840,\"height\":2160}}]' ;;\n"
           "output) \"${0%/*}/swaybg\" -o \"$2\" -i \"$4\" -m \"$5\" </dev/null >/dev/null 2>&1 & "
           ";;\n"
           "esac\n";
    std::ofstream(tools / "swaybg") << "#!/bin/bash\n/bin/sleep 2\n";
    for (const char* tool : {"swaymsg", "swaybg"})
        fs::permissions(tools / tool, fs::perms::owner_all);
}

void BM_ApplyToStandInSway(benchmark::State& state) {
    const DrawingSurface canvas = Drawn(BenchCase::Default);
    const testing::ScratchFolder folder;
    WriteStandInSway(folder.path() / "tools");
    DesktopSession session;
    session.environment = {{"PATH", (folder.path() / "tools").string()},
                           {"XDG_DATA_HOME", (folder.path() / "data").string()},
                           {"XDG_RUNTIME_DIR", folder.path().string()},
                           {"XDG_CURRENT_DESKTOP", "sway"},
                           {"WAYLAND_DISPLAY", "wayland-bench"}};
    TimeApplications(state, canvas, session);
}

// Needs an X server of two 4K screens' size that, as a desktop's does, lives on between its
// clients: xvfb-run -s "-noreset -screen 0 7680x2160x24". A bare one starts afresh whenever the
// last client goes, and the next application finds no display.
void BM_ApplyToRootWindow(benchmark::State& state) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        state.SkipWithError(
            "no X server: run under xvfb-run -s \"-noreset -screen 0 7680x2160x24\"");
        return;
    }
    const DrawingSurface canvas = Drawn(BenchCase::Default);
    const testing::ScratchFolder folder;
    DesktopSession session;
    session.environment = {{"DISPLAY", display},
                           {"XDG_DATA_HOME", (folder.path() / "data").string()}};
    session.screens = kTwoUhdScreens;
    TimeApplications(state, canvas, session);
}

void Repeat(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
}

const bool kRegistered = [] {
    Repeat(benchmark::RegisterBenchmark("Desktop3840x2160/compose-from-240x320", BM_Compose,
                                        BenchCase::Default));
    Repeat(benchmark::RegisterBenchmark("Desktop3840x2160/compose-from-2400x2400", BM_Compose,
                                        BenchCase::WorstNormal));
    Repeat(
        benchmark::RegisterBenchmark("Desktop3840x2160/compose-and-write-png", BM_ComposeAndStore));
    Repeat(benchmark::RegisterBenchmark("TwoScreens3840x2160/apply-to-stand-in-sway",
                                        BM_ApplyToStandInSway)
               ->Iterations(3));
    Repeat(benchmark::RegisterBenchmark("TwoScreens3840x2160/apply-to-root-window",
                                        BM_ApplyToRootWindow)
               ->Iterations(3));
    return true;
}();

} // namespace
} // namespace tidepool::bench

int main(int argc, char** argv) {
    // The applications' event loops and worker threads need an application object.
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
