#pragma once

#include "render/draw_job.h"
#include "wallpaper/keeping/wallpaper_recipe.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace tidepool {

// What one drawing needs, taken on the window's thread when it is asked for, so that nothing the
// window changes meanwhile reaches it.
struct DrawingRequest {
    MainSettings settings; // the fields as corrected
    RenderSettings render; // the render state as it stood
    // The current folder then, which a relative picture path is taken from: a save or browse that
    // ends meanwhile makes another folder current for the whole process.
    std::filesystem::path folder;
    std::filesystem::path programFolder; // where the codec plug-in is looked for
    WallpaperRecipe recipe; // what the drawing stands for, kept with its canvas for the desktop
};

// What a drawing leaves: the finished canvas with its recipe, the work buffers for the next
// drawing, the render state the job changed, and the job's messages in the order it gave them.
struct DrawingOutcome {
    std::shared_ptr<DrawingSurface> canvas;
    WallpaperRecipe recipe;
    WorkBuffers buffers;
    RenderSettings render;
    std::vector<std::string> messages;
};

// Runs the drawing job on a copy of the canvas shown, since the job carries the canvas's
// background colour from one drawing to the next, with the work buffers of the last drawing and
// a codec plug-in of its own that leaves the current folder alone. The copy is made in spare, a
// canvas nothing else uses any more, when there is one, so that its memory is used again rather
// than given back and asked for anew. Uses nothing of the window's; safe on any thread.
DrawingOutcome RunDrawing(DrawingRequest request, const DrawingSurface& shown,
                          std::shared_ptr<DrawingSurface> spare, WorkBuffers buffers);

} // namespace tidepool
