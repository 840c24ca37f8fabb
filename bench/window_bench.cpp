// Times what the user waits for in the windows, under Qt's offscreen platform: a drawing from
// "描画(&G)" until the preview has painted it, one step of panning a 2400 x 2400 wallpaper in
// a 1024 x 768 preview, painted, and a colour picked in the fixed-colour dialog until its sample
// has been drawn again and painted.

#include "imagefile/codec_library.h"
#include "imagefile/program_folder.h"
#include "render/settings/render_settings.h"
#include "ui/fixedcolour/fixed_colour_dialog.h"
#include "ui/parts/colour_swatch.h"
#include "ui/main/main_window.h"
#include "ui/preview/preview_window.h"

#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>

#include <benchmark/benchmark.h>

namespace tidepool::bench {
namespace {

struct Program {
    RenderSettings render;
    CodecLibrary codec{ProgramFolder()};
    MainWindow window{render, codec, DesktopDialogs()};

    Program() {
        window.show();
        QApplication::processEvents();
    }
    PreviewWindow& preview() { return window.preview(); }
    QWidget* viewport() { return preview().findChild<QWidget*>(QStringLiteral("Picture1")); }
    QScrollBar* bar(const char* name) {
        return preview().findChild<QScrollBar*>(QString::fromLatin1(name));
    }
};

void BM_DrawUxga(benchmark::State& state) {
    Program program;
    program.window.controls().sizePresets[4]->click();
    for (auto _ : state) {
        program.window.drawWallpaper();
        program.viewport()->repaint();
    }
    state.counters["goal_ms"] = 20;
}

void BM_Pan2400(benchmark::State& state) {
    Program program;
    program.window.controls().width->setText(QStringLiteral("2400"));
    program.window.controls().height->setText(QStringLiteral("2400"));
    program.window.drawWallpaper();
    program.preview().resize(1024, 768);
    QApplication::processEvents();
    QScrollBar* across = program.bar("HScroll1");
    QScrollBar* down = program.bar("VScroll1");
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
    auto* body = dialog.findChild<ColourSwatch*>(QStringLiteral("Picture1(0)"));
    auto* sample = dialog.findChild<QWidget*>(QStringLiteral("Picture2"));
    for (auto _ : state) {
        emit body->clicked();
        sample->repaint();
    }
    state.counters["goal_ms"] = 16;
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
