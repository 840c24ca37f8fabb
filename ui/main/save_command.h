#pragma once

#include "render/raster/drawing_surface.h"
#include "ui/files/save_dialog.h"
#include "ui/main/background_task.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>

class QWidget;

namespace tidepool {

class CodecLibrary;
class DrawingQueue;

// Where a save went, and whether the file was written.
struct SaveOutcome {
    std::filesystem::path file;
    bool saved = false;
};

// "保存(&S)": asks for a name, then writes the canvas off the window's thread. It waits first for
// the drawings asked for before it, so that a drawing and a save at once save that drawing, and
// for the last save to end, whose folder the next dialog opens in. Chosen again while it waits,
// it still asks once. A save under way when the window goes is finished first.
class SaveCommand {
  public:
    using ShowMessage = std::function<void(QWidget* owner, std::string_view text)>;
    using ShownCanvas = std::function<std::shared_ptr<const DrawingSurface>()>;

    // Everything given must outlive the command; owner is the dialogs' parent.
    SaveCommand(QWidget* owner, CodecLibrary& codec, SaveDialogPrompts prompts,
                ShowMessage showMessage, DrawingQueue& drawings, ShownCanvas shown);

    void run();
    // Whether a save asked for has not yet ended.
    bool busy() const { return asked_ || task_.running(); }

  private:
    void drawingsShown();
    void askWhenReady();
    void saved(const SaveOutcome& outcome);

    QWidget* owner_;
    CodecLibrary& codec_;
    SaveDialogPrompts prompts_;
    ShowMessage showMessage_;
    DrawingQueue& drawings_;
    ShownCanvas shown_;
    std::int16_t filterIndex_ = 0; // the type last chosen
    bool asked_ = false;           // chosen, and its dialog not yet shown
    bool drawingsShown_ = false;   // the drawings it waits for are shown
    BackgroundTask<SaveOutcome> task_;
};

} // namespace tidepool
