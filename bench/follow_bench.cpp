// Times the follower, `tidepool-render --follow-screens`, as a whole process on the X server in
// DISPLAY, a desktop of two 3840 x 2160 RandR outputs, DUMMY0 and DUMMY1, side by side: from a
// change of the screens (the two outputs trading places, by xrandr) to the follower saying it has
// put the tiling back on the root window and read it back; its processor time over ten idle
// seconds; and its resident memory, idle and at its peak. bench/follow_bench.sh starts such a
// server (Xorg's dummy driver) and runs it, with tidepool-render beside it.

#include "imagefile/program_folder.h"
#include "tests/support/scratch_folder.h"

#include <QCoreApplication>
#include <QProcess>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>

namespace tidepool::bench {
namespace {

using Clock = std::chrono::steady_clock;

// The second output to the right of the first, or to its left.
QStringList OutputLayout(bool traded) {
    return {QStringLiteral("--output"), QStringLiteral("DUMMY1"),
            traded ? QStringLiteral("--left-of") : QStringLiteral("--right-of"),
            QStringLiteral("DUMMY0")};
}

// A field of /proc/PID/status, in MB.
double StatusMegabytes(qint64 pid, const std::string& field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field + ":", 0) == 0)
            return std::stod(line.substr(field.size() + 1)) / 1024;
    return 0;
}

// User and system processor time the process has used so far, in milliseconds.
double ProcessorMs(qint64 pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    long long ticks = 0;
    for (int i = 1; i <= 13 && fields >> field; ++i)
        if (i >= 12)
            ticks += std::stoll(field);
    return ticks * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// A follower of the X server in DISPLAY, in folders of its own, with a wallpaper saved for it.
class Follower {
  public:
    Follower() {
        QProcessEnvironment environment;
        for (const char* name : {"DISPLAY", "XAUTHORITY", "PATH"})
            environment.insert(QString::fromLatin1(name), qEnvironmentVariable(name));
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
            environment.insert(QString::fromLatin1(name),
                               QString::fromStdString((folder_.path() / name).string()));
        const QString renderer =
            QString::fromStdString((ProgramFolder() / "tidepool-render").string());
        QProcess::execute(QStringLiteral("xrandr"), OutputLayout(false));
        QProcess set;
        set.setProcessEnvironment(environment);
        set.start(renderer, {QStringLiteral("--set-wallpaper")});
        if (!set.waitForFinished(30000) || set.exitCode() != 0) {
            error_ = "tidepool-render --set-wallpaper failed: " +
                     set.readAllStandardError().toStdString();
            return;
        }
        process_.setProcessEnvironment(environment);
        process_.start(renderer, {QStringLiteral("--follow-screens")});
        if (!waitForApplications(1, std::chrono::seconds(30)))
            error_ = "the follower did not start: " + output_;
    }
    ~Follower() {
        process_.terminate();
        process_.waitForFinished(5000);
    }

    const std::string& error() const { return error_; }
    qint64 pid() const { return process_.processId(); }
    int applications() const {
        int count = 0;
        for (std::size_t at = output_.find("\napplied through"); at != std::string::npos;
             at = output_.find("\napplied through", at + 1))
            ++count;
        return count;
    }
    bool waitForApplications(int count, Clock::duration limit) {
        const Clock::time_point end = Clock::now() + limit;
        while (applications() < count) {
            if (Clock::now() >= end || process_.state() == QProcess::NotRunning)
                return false;
            process_.waitForReadyRead(50);
            output_ += process_.readAllStandardOutput().toStdString();
        }
        return true;
    }

  private:
    testing::ScratchFolder folder_;
    QProcess process_;
    std::string output_ = "\n";
    std::string error_;
};

// One follower for every case, started by the first and ended before the application object.
std::unique_ptr<Follower>& FollowerStorage() {
    static std::unique_ptr<Follower> follower;
    return follower;
}

Follower* TheFollower(benchmark::State& state) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        state.SkipWithError("no X server: run it with bench/follow_bench.sh");
        return nullptr;
    }
    std::unique_ptr<Follower>& follower = FollowerStorage();
    if (!follower)
        follower = std::make_unique<Follower>();
    if (!follower->error().empty()) {
        state.SkipWithError(follower->error().c_str());
        return nullptr;
    }
    return follower.get();
}

void BM_ScreenChange(benchmark::State& state) {
    Follower* follower = TheFollower(state);
    if (follower == nullptr)
        return;
    static bool traded = false;
    for (auto _ : state) {
        const int before = follower->applications();
        traded = !traded;
        const Clock::time_point start = Clock::now();
        QProcess::execute(QStringLiteral("xrandr"), OutputLayout(traded));
        if (!follower->waitForApplications(before + 1, std::chrono::seconds(10))) {
            state.SkipWithError("no application within 10 s of the change");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        // Whatever else the change brings in would count against the next one.
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    state.counters["goal_ms"] = 1000;
    state.counters["resident_MB"] = StatusMegabytes(follower->pid(), "VmRSS");
    state.counters["peak_resident_MB"] = StatusMegabytes(follower->pid(), "VmHWM");
}

void BM_Idle(benchmark::State& state) {
    Follower* follower = TheFollower(state);
    if (follower == nullptr)
        return;
    double used = 0;
    for (auto _ : state) {
        const double before = ProcessorMs(follower->pid());
        std::this_thread::sleep_for(std::chrono::seconds(10));
        used = ProcessorMs(follower->pid()) - before;
    }
    state.counters["processor_ms_per_10s"] = used;
    state.counters["resident_MB"] = StatusMegabytes(follower->pid(), "VmRSS");
    state.counters["resident_goal_MB"] = 40;
}

const bool kRegistered = [] {
    benchmark::RegisterBenchmark("Follower/two-4k-outputs-trade-places", BM_ScreenChange)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5)
        ->Repetitions(3)
        ->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark("Follower/idle-10s", BM_Idle)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    return true;
}();

} // namespace
} // namespace tidepool::bench

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    tidepool::bench::FollowerStorage().reset();
    benchmark::Shutdown();
    return 0;
}
