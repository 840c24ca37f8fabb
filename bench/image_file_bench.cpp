// Times what the image files cost around a drawing: saving a full-size wallpaper in each format,
// and tiling the smallest possible background picture over the largest canvas.

#include "bench/bench_cases.h"

#include "imagefile/codec_library.h"
#include "imagefile/program_folder.h"
#include "imagefile/save_image.h"
#include "render/draw_job.h"
#include "render/figure/background.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace tidepool::bench {
namespace {

// The densest wallpaper at the largest size: the hardest picture for every encoder.
const DrawingSurface& LargestWallpaper() {
    static const DrawingSurface canvas = [] {
        RenderSettings render;
        DrawingSurface drawn(240, 320);
        WorkBuffers buffers;
        MainSettings settings = MakeSettings(BenchCase::WorstNormal);
        DrawJob(settings, render, drawn, buffers, MakeOfflineServices());
        return drawn;
    }();
    return canvas;
}

void BM_Save(benchmark::State& state, const std::string& extension, double goalMs) {
    CodecLibrary codec(ProgramFolder());
    const DrawingSurface& canvas = LargestWallpaper();
    const std::filesystem::path target =
        std::filesystem::temp_directory_path() /
        ("tidepool-bench-" + std::to_string(::getpid()) + extension);
    for (auto _ : state) {
        const WriteResult written = SaveImage(canvas, target, codec);
        if (!written.ok()) {
            state.SkipWithError(written.error().c_str());
            break;
        }
    }
    std::error_code ignored;
    state.counters["file_MB"] =
        static_cast<double>(std::filesystem::file_size(target, ignored)) / (1024 * 1024);
    std::filesystem::remove(target, ignored);
    state.counters["goal_ms"] = goalMs;
}

// A 1 x 1 picture over 2400 x 2400 lays 2401 x 2401 tiles.
void BM_TileOnePixelPicture(benchmark::State& state) {
    DrawingSurface canvas(2400, 2400);
    DrawingSurface picture(1, 1);
    picture.pixels()[0] = 0xFF336699u;
    for (auto _ : state) {
        ComposeBackground(canvas, picture);
        benchmark::DoNotOptimize(canvas.pixels());
        benchmark::ClobberMemory();
    }
    state.counters["goal_ms"] = 50;
}

void Repeat(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
}

} // namespace

void RegisterImageFileCases() {
    struct SaveCase {
        const char* name;
        std::string extension;
        double goalMs;
    };
    static const SaveCase kSaves[] = {{"Save2400/bmp", ".bmp", 100},
                                      {"Save2400/png", ".png", 200},
                                      {"Save2400/jpg", ".jpg", 500},
                                      {"Save2400/gif", ".gif", 500}};
    for (const SaveCase& c : kSaves)
        Repeat(benchmark::RegisterBenchmark(c.name, BM_Save, c.extension, c.goalMs));
    Repeat(benchmark::RegisterBenchmark("ComposeBackground/1x1-over-2400x2400",
                                        BM_TileOnePixelPicture));
}

} // namespace tidepool::bench
