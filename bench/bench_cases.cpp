#include "bench/bench_cases.h"

#include <sys/resource.h>

#include <array>
#include <string>

namespace tidepool::bench {

namespace {

constexpr std::array<BenchCaseInfo, 4> kCases{{
    {BenchCase::Default, "default", 1.0},
    {BenchCase::Uxga, "uxga", 2.0},
    {BenchCase::WorstNormal, "worst-normal", 60.0},
    {BenchCase::WorstFrame, "worst-frame", 90.0},
}};

// The limits the drawing job accepts, so every crab and bubble is as small and as dense as it
// gets on the largest canvas.
MainSettings WorstSettings(DrawMode mode) {
    MainSettings s;
    s.width = "2400";
    s.height = "2400";
    s.magnification = "0.1";
    s.spacing = "0.85";
    s.layout = Layout::Slide;
    s.mode = mode;
    s.crabShadow = true;
    s.bubbles = true;
    s.bubbleSpacing = "0.5";
    s.bubbleShadow = true;
    return s;
}

} // namespace

std::span<const BenchCaseInfo> AllBenchCases() {
    return kCases;
}

std::optional<BenchCase> FindBenchCase(std::string_view name) {
    for (const BenchCaseInfo& info : kCases) {
        if (info.name == name)
            return info.id;
    }
    return std::nullopt;
}

MainSettings MakeSettings(BenchCase id) {
    switch (id) {
    case BenchCase::Default:
        return MainSettings{};
    case BenchCase::Uxga: {
        MainSettings s;
        s.width = "1600";
        s.height = "1200";
        // Moved in rather than assigned from the literal: GCC 12 gives a false -Wrestrict on
        // assigning a shorter literal over a longer text.
        s.magnification = std::string("1");
        return s;
    }
    case BenchCase::WorstNormal:
        return WorstSettings(DrawMode::Normal);
    case BenchCase::WorstFrame:
        return WorstSettings(DrawMode::Frame);
    }
    return MainSettings{};
}

DrawJobServices MakeOfflineServices() {
    DrawJobServices services;
    services.loadPicture = [](DrawingSurface&, const std::string&) { return 1; };
    services.fileExists = [](const std::string&) { return false; };
    services.showMessage = [](std::string_view) {};
    return services;
}

double PeakRssMb() {
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) != 0)
        return 0.0;
    // Linux reports ru_maxrss in kilobytes.
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

} // namespace tidepool::bench
