#pragma once

#include "render/draw_job.h"
#include "render/settings/colour.h"
#include "ui/files/open_dialog.h"
#include "ui/files/save_dialog.h"
#include "ui/main/background_task.h"
#include "ui/main/drawing_queue.h"
#include "ui/main/main_window_controls.h"
#include "ui/main/save_command.h"
#include "ui/main/wallpaper_keeping.h"
#include "ui/parts/pick_colour.h"
#include "wallpaper/core/deadline.h"
#include "wallpaper/core/desktop_tiling.h"
#include "wallpaper/core/wallpaper_report.h"

#include <QMainWindow>
#include <QPointer>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace tidepool {

class CodecLibrary;
class FramePlacement;
class KeyboardHandler;
class PreviewWindow;
struct RenderSettings;

// Puts a picture on the desktop as its wallpaper, tiled over the screens, and says how it went;
// programFolder is where the codec plug-in is looked for; a request on cutoff ends it sooner.
// Called on a worker thread, which the window does not wait for when it goes, and so given what
// only the window's thread may ask Qt for.
using WorkerWallpaperSetter = std::function<WallpaperReport(
    const DrawingSurface& canvas, const std::filesystem::path& programFolder,
    const std::vector<Screen>& screens, std::shared_ptr<const Cutoff> cutoff)>;

// What the main window asks of the world outside it: the modal dialogs it opens, the desktop it
// hands a wallpaper to, and where it remembers the wallpaper to keep. The program uses the
// desktop's; tests answer them.
struct MainWindowServices {
    std::function<void(QWidget* owner, std::string_view text)> showMessage;
    ColourPicker pickColour;
    SaveDialogPrompts save;
    OpenFilePrompt open;
    WorkerWallpaperSetter setWallpaper;
    WallpaperMemory memory;
};
MainWindowServices DesktopServices();

// Form1, "ぺたもぐ": holds every setting of a wallpaper as the state of its controls, starts the
// preview window beside itself, draws on Enter, from the theme list and from "描画(&G)", and saves.
// Drawing, saving and the wallpaper run off its thread, so it keeps answering meanwhile.
// Closing it, or the preview window, ends the program.
class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    // render is the program's one set of render settings; codec is the program's codec
    // plug-in, wherever it was found. Both must outlive the window.
    MainWindow(RenderSettings& render, CodecLibrary& codec, MainWindowServices services);
    ~MainWindow() override;

    const MainWindowControls& controls() const { return controls_; }
    PreviewWindow& preview() { return *preview_; }

    // The drawing job, as "描画(&G)" runs it: the fields are corrected at once, and the canvas is
    // shown once drawn, after the job's messages. "描画(&G)" stays disabled until the drawings
    // asked for are shown.
    void drawWallpaper();
    // The selected theme's colours into the swatches, then a drawing.
    void applyTheme();
    // "保存(&S)": asks for a name and writes the wallpaper, as the drawings asked for before it
    // make it.
    void saveWallpaper();
    // "参照(&B)": asks for a background picture and puts its path into the path field.
    void browsePicture();
    // "オプション(&O)": the fixed-colour dialog, modal; returns once it is closed.
    void changeFixedColours();
    // "壁紙に設定(&W)": puts the wallpaper as it stands on the desktop off the window's thread,
    // under the busy cursor, and says so only when it cannot. Does nothing while the last one
    // still runs. Closing the window cuts one still running short, so that the program ends within
    // a second. Once it is on the desktop, what was drawn is saved, and with keep the wallpaper is
    // kept there ("壁紙を保つ(&K)"). Says whether it started.
    bool setAsWallpaper(bool keep = false);

    // Whether a drawing or a save asked for has not yet ended.
    bool drawingOrSaving() const { return drawings_.busy() || save_.busy(); }

  signals:
    // A drawing is shown in the preview.
    void drawn();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void createMenu();
    void connectControls();
    void watchKeys();
    void setStartValues();
    void createPreview();
    void selectSizePreset(int preset);
    void pickSwatchColour(int swatch);
    void placeWindows();
    void disableDrawing();
    void presentDrawing(DrawingOutcome& outcome);
    void wallpaperFinished(const WallpaperOutcome& outcome);
    void endWallpaperSoon();

    RenderSettings& render_;
    CodecLibrary& codec_;
    MainWindowServices services_;
    MainWindowControls controls_;
    KeyboardHandler* keyboard_ = nullptr; // owned by this window
    std::unique_ptr<PreviewWindow> preview_;
    std::int16_t openFilterIndex_ = 0;    // the type last chosen when browsing for a picture
    FramePlacement* placement_ = nullptr; // owned by this window, made when first shown
    // Where disabling "描画(&G)" moved the focus from it, to be given back when it is enabled.
    std::optional<QPointer<QWidget>> focusMovedTo_;
    std::shared_ptr<Cutoff> wallpaperCutoff_; // the running application's, null when none runs
    KeepWallpaperCommand* keeping_ = nullptr; // owned by this window
    WallpaperRecipe drawnRecipe_;             // what the canvas shows, for the desktop to keep
    // The work off the window's thread; the last go first, the save being finished.
    DrawingQueue drawings_;
    SaveCommand save_;
    BackgroundTask<WallpaperOutcome> wallpaper_;
};

} // namespace tidepool
