#pragma once

#include "render/draw_job.h"
#include "render/settings/main_settings.h"

#include <optional>
#include <span>
#include <string_view>

namespace tidepool::bench {

// The drawings the benchmark times, from the cheapest to the most expensive.
enum class BenchCase {
    Default,     // the window's start-up settings, 240 x 320
    Uxga,        // 1600 x 1200 at magnification 1
    WorstNormal, // 2400 x 2400, smallest crabs and bubbles, tightest spacing, all shadows
    WorstFrame,  // the same in frame mode with the drop shadow
};

struct BenchCaseInfo {
    BenchCase id;
    std::string_view name; // as given on the command line of tidepool_peak_rss
    double goalMs;         // ceiling for the median time of one drawing
};

std::span<const BenchCaseInfo> AllBenchCases();
std::optional<BenchCase> FindBenchCase(std::string_view name);

// Fresh settings for the case, as the window would hold them with those values typed in.
MainSettings MakeSettings(BenchCase id);

// Services for drawings without a picture: nothing exists, every load fails, messages vanish.
DrawJobServices MakeOfflineServices();

// The goal for the peak resident memory of a process that draws the worst case: no more than
// drawing it in four full layer buffers took.
inline constexpr double kPeakRssGoalMb = 118.0;

// Peak resident set size of this process so far, in megabytes.
double PeakRssMb();

} // namespace tidepool::bench
