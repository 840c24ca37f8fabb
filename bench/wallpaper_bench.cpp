// Times putting a wallpaper on a 3840 x 2160 desktop: cutting the screen's picture from the tiled
// canvas, for the smallest and the largest canvas, and that picture written as the PNG a desktop
// is handed.

#include "bench/bench_cases.h"

#include "imagefile/codec_library.h"
#include "imagefile/program_folder.h"
#include "render/draw_job.h"
#include "wallpaper/wallpaper_plan.h"
#include "wallpaper/wallpaper_store.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

namespace tidepool::bench {
namespace {

const std::vector<Screen> kUhdScreen{{"DP-1", 0, 0, 3840, 2160, 1}};

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
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("tidepool-bench-" + std::to_string(::getpid()));
    auto now = std::chrono::system_clock::now();
    for (auto _ : state) {
        now += std::chrono::seconds(1);
        const StoredPictures stored =
            StorePictures(folder, ComposePictures(canvas, plan), codec, now);
        if (!stored.ok()) {
            state.SkipWithError(stored.error.c_str());
            break;
        }
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    state.counters["goal_ms"] = 150;
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
    return true;
}();

} // namespace
} // namespace tidepool::bench

BENCHMARK_MAIN();
