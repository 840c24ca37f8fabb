// Times the whole drawing job the way the window runs it: one canvas, one set of work buffers and
// one RenderSettings for the whole process, and settings read afresh for every drawing.
//
// The peak_rss_MB counter is the peak of the whole process so far, so it belongs to a case only
// when that case runs alone (--benchmark_filter) or through tidepool_peak_rss.

#include "bench/bench_cases.h"

#include "render/draw_job.h"
#include "render/raster/drawing_surface.h"
#include "render/settings/render_settings.h"

#include <benchmark/benchmark.h>

#include <string>

namespace tidepool::bench {
namespace {

void BM_DrawJob(benchmark::State& state, const BenchCaseInfo& info) {
    RenderSettings render;
    // The preview window starts with a blank canvas of the default size.
    DrawingSurface canvas(240, 320);
    WorkBuffers buffers;
    const DrawJobServices services = MakeOfflineServices();

    for (auto _ : state) {
        // The job corrects the settings in place, so every drawing starts from the typed texts.
        MainSettings settings = MakeSettings(info.id);
        DrawJob(settings, render, canvas, buffers, services);
        benchmark::DoNotOptimize(canvas.pixels());
        benchmark::ClobberMemory();
    }

    state.SetItemsProcessed(state.iterations() * canvas.width() * canvas.height());
    state.counters["goal_ms"] = info.goalMs;
    state.counters["peak_rss_MB"] = PeakRssMb();
}

void RegisterCases() {
    for (const BenchCaseInfo& info : AllBenchCases()) {
        const std::string name = "DrawJob/" + std::string(info.name);
        benchmark::RegisterBenchmark(name.c_str(), BM_DrawJob, info)
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
    }
}

} // namespace

// In image_file_bench.cpp.
void RegisterImageFileCases();

} // namespace tidepool::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    tidepool::bench::RegisterCases();
    tidepool::bench::RegisterImageFileCases();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
