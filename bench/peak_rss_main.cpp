// Draws one case in a process of its own and prints its peak resident memory, which the
// benchmark cannot attribute to a single case once several have run in one process.
//
// Usage: tidepool_peak_rss [case] [--check]
//   case     default, uxga, worst-normal or worst-frame (default worst-frame)
//   --check  exit with status 1 when the peak exceeds the goal

#include "bench/bench_cases.h"

#include "render/draw_job.h"
#include "render/raster/drawing_surface.h"
#include "render/settings/render_settings.h"

#include <cstdio>
#include <string_view>

namespace {

void PrintUsage() {
    std::fprintf(stderr, "usage: tidepool_peak_rss [case] [--check]\ncases:");
    for (const auto& info : tidepool::bench::AllBenchCases())
        std::fprintf(stderr, " %.*s", static_cast<int>(info.name.size()), info.name.data());
    std::fprintf(stderr, "\n");
}

} // namespace

int main(int argc, char** argv) {
    using namespace tidepool;
    using namespace tidepool::bench;

    std::string_view caseName = "worst-frame";
    bool check = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--check") {
            check = true;
        } else if (FindBenchCase(arg)) {
            caseName = arg;
        } else {
            PrintUsage();
            return 2;
        }
    }
    const BenchCase id = *FindBenchCase(caseName);

    RenderSettings render;
    DrawingSurface canvas(240, 320);
    WorkBuffers buffers;
    const DrawJobServices services = MakeOfflineServices();
    // Twice, as a user pressing the button again would: the second drawing must reuse the
    // buffers of the first rather than add to them.
    for (int run = 0; run < 2; ++run) {
        MainSettings settings = MakeSettings(id);
        DrawJob(settings, render, canvas, buffers, services);
    }

    const double peakMb = PeakRssMb();
    const bool met = peakMb < kPeakRssGoalMb;
    std::printf("peak RSS %.*s: %.1f MB (goal < %.0f MB: %s)\n", static_cast<int>(caseName.size()),
                caseName.data(), peakMb, kPeakRssGoalMb, met ? "met" : "NOT met");
    return check && !met ? 1 : 0;
}
