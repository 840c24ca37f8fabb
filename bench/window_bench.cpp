// Times what the user waits for in the windows, under Qt's offscreen platform: a drawing from
// "描画(&G)" until the preview has painted it, one step of panning a 2400 x 2400 wallpaper in
// a 1024 x 768 preview, painted, and a colour picked in the fixed-colour dialog until its sample
// has been drawn again and painted. And how long each long command keeps the window from
// answering: the longest gap between two stamps of a 5 ms timer on its event loop while the
// densest wallpaper is drawn, drawn over an 8192 x 8192 picture, saved, and put on the desktop.

#include "bench/bench_cases.h"
#include "bench/hostile_pictures.h"
#include "imagefile/codec_library.h"
#include "imagefile/program_folder.h"
#include "render/settings/render_settings.h"
#include "tests/support/scratch_folder.h"
#include "ui/fixedcolour/fixed_colour_dialog.h"
#include "ui/fixedcolour/fixed_colour_inventory.h"
#include "ui/main/main_window.h"
#include "ui/main/main_window_controls.h"
#include "ui/main/settings_binding.h"
#include "ui/parts/colour_swatch.h"
#include "ui/preview/preview_inventory.h"
#include "ui/preview/preview_window.h"
#include "wallpaper/core/wallpaper_plan.h"
#include "wallpaper/core/wallpaper_store.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>

namespace tidepool::bench {
namespace {

struct Program {
    RenderSettings render;
    CodecLibrary codec{ProgramFolder()};
    MainWindow window{render, codec, DesktopServices()};

    Program() {
        window.show();
        QApplication::processEvents();
    }
    PreviewWindow& preview() { return window.preview(); }
    QWidget* viewport() {
        return preview().findChild<QWidget*>(QLatin1String(kPreviewViewportName));
    }
    // "描画(&G)", until the drawing is shown.
    void draw() {
        window.drawWallpaper();
        while (window.drawingOrSaving())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    QScrollBar* bar(const char* name) {
        return preview().findChild<QScrollBar*>(QString::fromLatin1(name));
    }
};

void BM_DrawUxga(benchmark::State& state) {
    Program program;
    program.window.controls().sizePresets[4]->click();
    for (auto _ : state) {
        program.draw();
        program.viewport()->repaint();
    }
    state.counters["goal_ms"] = 20;
}

void BM_Pan2400(benchmark::State& state) {
    Program program;
    program.window.controls().width->setText(QStringLiteral("2400"));
    program.window.controls().height->setText(QStringLiteral("2400"));
    program.draw();
    program.preview().resize(1024, 768);
    QApplication::processEvents();
    QScrollBar* across = program.bar(kHorizontalBarName);
    QScrollBar* down = program.bar(kVerticalBarName);
    int step = 0;
    for (auto _ : state) {
        // Alternates between two far-apart views, so every step paints a whole new view.
        ++step;
        across->setValue(step % 2 == 0 ? 0 : across->maximum() / 2);
        down->setValue(step % 2 == 0 ? 0 : down->maximum() / 2);
        program.viewport()->repaint();
    }
    state.counters["goal_ms"] = 16;
}

// The picker answers at once, alternating two colours, so only the program's own work is timed.
void BM_FixedColourPick(benchmark::State& state) {
    RenderSettings render;
    Colour next = 0x0000FF;
    FixedColourDialog dialog(
        render, MainSettings{},
        [&next](QWidget*, Colour, const SystemPalette&) {
            next ^= 0xFF00FF;
            return static_cast<std::int32_t>(next);
        },
        nullptr);
    dialog.show();
    QApplication::processEvents();
    auto* body = dialog.findChild<ColourSwatch*>(QString::fromUtf8(kSwatchRows[0].swatchName));
    auto* sample = dialog.findChild<QWidget*>(QString::fromUtf8(kSampleBoxName));
    for (auto _ : state) {
        emit body->clicked();
        sample->repaint();
    }
    state.counters["goal_ms"] = 16;
}

// The program's own dialogs and desktop, except that the save dialog answers with a file in the
// scratch folder, the desktop is a folder that keeps the pictures an application composes, and
// nothing is remembered or kept: only the window's own work is timed, never the desktop's, and
// the user's own files are left alone.
struct ScriptedProgram {
    testing::ScratchFolder folder;
    std::filesystem::path saveAs;
    RenderSettings render;
    CodecLibrary codec{ProgramFolder()};
    std::unique_ptr<MainWindow> window;

    ScriptedProgram() {
        MainWindowServices services = DesktopServices();
        services.showMessage = [](QWidget*, std::string_view text) {
            std::fprintf(stderr, "message: %.*s\n", static_cast<int>(text.size()), text.data());
        };
        services.save.askName = [this](QWidget*, const QStringList& types, int, const QString&,
                                       const QString&) -> std::optional<SaveDialogAnswer> {
            const QString extension = QString::fromStdString(saveAs.extension().string());
            for (int i = 0; i < types.size(); ++i)
                if (types[i].contains(extension, Qt::CaseInsensitive))
                    return SaveDialogAnswer{QString::fromStdString(saveAs.string()), i + 1};
            return std::nullopt;
        };
        services.save.askReplace = [](QWidget*, const QString&) { return true; };
        services.setWallpaper = [this](const DrawingSurface& canvas, const std::filesystem::path&,
                                       const std::vector<Screen>& screens,
                                       std::shared_ptr<const Cutoff>) {
            CodecLibrary own(ProgramFolder(), CodecLibrary::CallFolder::Current);
            const StoredPictures stored =
                StorePictures(folder.path() / "desktop",
                              ComposePictures(canvas, PlanPictures(screens, PictureSet::OneForAll)),
                              own, std::chrono::system_clock::now());
            WallpaperReport report;
            report.tried = {{Way::RootWindow, stored.ok(), WayReason::None, "", "", ""}};
            return report;
        };
        services.memory.remember = [](const WallpaperRecipe&) { return std::string(); };
        services.memory.keep = [](std::shared_ptr<const Cutoff>) { return KeepReport{}; };
        services.memory.forget = services.memory.keep;
        services.memory.kept = [] { return false; };
        window = std::make_unique<MainWindow>(render, codec, std::move(services));
        window->show();
        WriteTexts(window->controls(), MakeSettings(BenchCase::WorstNormal));
        QApplication::processEvents();
    }

    void usePicture(const std::filesystem::path& picture) {
        window->controls().background[1]->setChecked(true);
        window->controls().picturePath->setText(QString::fromStdString(picture.string()));
    }
};

// Runs one command and waits until it is done (the busy cursor is gone and the events it left,
// the preview's paint among them, are handled), while a timer stamps the event loop every 5 ms.
// Returns the longest gap between two stamps, the end counting as one: how long the window could
// neither repaint nor answer.
double LongestGapMs(const std::function<void()>& command) {
    QElapsedTimer clock;
    qint64 last = 0;
    double longest = 0;
    const auto stamp = [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, static_cast<double>(now - last) / 1e6);
        last = now;
    };
    QTimer stamps;
    QObject::connect(&stamps, &QTimer::timeout, stamp);
    clock.start();
    stamps.start(5);
    command();
    while (QApplication::overrideCursor() != nullptr)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QApplication::processEvents();
    stamp();
    return longest;
}

void ReportGap(benchmark::State& state, double longestGapMs) {
    state.counters["longest_gap_ms"] = longestGapMs;
    state.counters["gap_goal_ms"] = 50;
    state.counters["peak_rss_MB"] = PeakRssMb();
}

// The yardstick: a second with nothing to do. On a shared machine the other processes alone make
// gaps of tens of milliseconds; the commands' own share is their CPU time on this thread.
void BM_GapWhileIdle(benchmark::State& state) {
    ScriptedProgram program;
    double longest = 0;
    for (auto _ : state)
        longest =
            std::max(longest, LongestGapMs([] {
                         QApplication::setOverrideCursor(Qt::BusyCursor);
                         QTimer::singleShot(1000, [] { QApplication::restoreOverrideCursor(); });
                     }));
    ReportGap(state, longest);
}

void BM_GapWhileDrawing(benchmark::State& state) {
    ScriptedProgram program;
    double longest = 0;
    for (auto _ : state)
        longest = std::max(longest, LongestGapMs([&] { program.window->drawWallpaper(); }));
    ReportGap(state, longest);
}

// The densest wallpaper over a picture at the size limit, made once (flat, so the files are
// small) and loaded at every drawing, as the window does.
void BM_GapWhileLoading(benchmark::State& state, const char* kind) {
    ScriptedProgram program;
    const HostilePicture& picture =
        *std::find_if(HostilePictures().begin(), HostilePictures().end(),
                      [kind](const HostilePicture& p) { return p.name == kind; });
    const std::filesystem::path file =
        program.folder / ("picture" + std::string(picture.extension));
    std::ofstream(file, std::ios::binary) << MakeHostilePicture(kind);
    program.usePicture(file);
    double longest = 0;
    for (auto _ : state)
        longest = std::max(longest, LongestGapMs([&] { program.window->drawWallpaper(); }));
    ReportGap(state, longest);
}

// The densest wallpaper, drawn once, saved again and again over the same file.
void BM_GapWhileSaving(benchmark::State& state, const char* extension) {
    ScriptedProgram program;
    LongestGapMs([&] { program.window->drawWallpaper(); });
    program.saveAs = program.folder / (std::string("wallpaper") + extension);
    QAction* save = program.window->findChild<QAction*>(QStringLiteral("MNU_Save"));
    double longest = 0;
    for (auto _ : state)
        longest = std::max(longest, LongestGapMs([&] { save->trigger(); }));
    if (!std::filesystem::exists(program.saveAs))
        state.SkipWithError("nothing was saved");
    ReportGap(state, longest);
}

void BM_GapWhileSettingWallpaper(benchmark::State& state) {
    ScriptedProgram program;
    LongestGapMs([&] { program.window->drawWallpaper(); });
    double longest = 0;
    for (auto _ : state)
        longest = std::max(longest, LongestGapMs([&] { program.window->setAsWallpaper(); }));
    ReportGap(state, longest);
}

BENCHMARK(BM_DrawUxga)
    ->Name("Window/draw-uxga")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_Pan2400)
    ->Name("Window/pan-2400")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_FixedColourPick)
    ->Name("Window/fixed-colour-pick")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Five rounds each; the figure is the median of each round's longest gap.
void GapCase(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
}
BENCHMARK(BM_GapWhileIdle)->Name("WindowGap/idle-1s")->Apply(GapCase);
BENCHMARK(BM_GapWhileDrawing)->Name("WindowGap/draw-densest-2400")->Apply(GapCase);
BENCHMARK_CAPTURE(BM_GapWhileLoading, jpeg, "jpeg-baseline-64m")
    ->Name("WindowGap/draw-over-8192-jpeg")
    ->Apply(GapCase);
BENCHMARK_CAPTURE(BM_GapWhileLoading, png, "png-64m")
    ->Name("WindowGap/draw-over-8192-png")
    ->Apply(GapCase);
BENCHMARK_CAPTURE(BM_GapWhileSaving, bmp, ".bmp")->Name("WindowGap/save-2400-bmp")->Apply(GapCase);
BENCHMARK_CAPTURE(BM_GapWhileSaving, png, ".png")->Name("WindowGap/save-2400-png")->Apply(GapCase);
BENCHMARK_CAPTURE(BM_GapWhileSaving, jpg, ".jpg")->Name("WindowGap/save-2400-jpg")->Apply(GapCase);
BENCHMARK_CAPTURE(BM_GapWhileSaving, gif, ".gif")->Name("WindowGap/save-2400-gif")->Apply(GapCase);
BENCHMARK(BM_GapWhileSettingWallpaper)->Name("WindowGap/set-wallpaper-2400")->Apply(GapCase);

} // namespace
} // namespace tidepool::bench

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
