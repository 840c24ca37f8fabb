#pragma once

#include "render/frame/work_buffers.h"
#include "render/raster/drawing_surface.h"
#include "render/settings/draw_settings.h"
#include "render/settings/main_settings.h"
#include "render/settings/render_settings.h"
#include "render/tiling/tile_crabs.h"

#include <functional>
#include <string>
#include <string_view>

namespace tidepool {

inline constexpr std::string_view kPictureMissingMessage =
    "指定されたピクチャファイルは存在しません。";
inline constexpr std::string_view kPictureUnreadableMessage =
    "ピクチャファイルの読み込みに失敗しました。";

// What the job needs from outside the engine: the picture loader, the file-existence test and
// somewhere to show its two messages. The window shows a message box; the command line prints.
struct DrawJobServices {
    // Loads the file at path into target; 0 on success, non-zero on failure. Without one, every
    // picture load fails.
    std::function<int(DrawingSurface& target, const std::string& path)> loadPicture;
    // Whether an ordinary file (not a folder) exists at path as typed.
    std::function<bool(const std::string& path)> fileExists;
    // Shows one of the two picture messages and returns once the user has seen it.
    std::function<void(std::string_view message)> showMessage;
};

// The canvas's colour before any drawing without a picture has set one: the button face. It shows
// in the strip a background picture leaves at the top and left edges.
inline constexpr Colour kCanvasStartColour = 0x8000000Fu;

// The colour a drawing without a background picture lays over the whole canvas: the swatch the
// selected colour role makes the background.
Colour PlainCanvasColour(const DrawSettings& settings);

// The blank canvas the preview window starts with: the size in the width and height fields, in
// the button-face colour.
DrawingSurface CreateCanvas(const MainSettings& settings, const SystemPalette& palette);

// Turns the settings into the finished wallpaper on canvas. Corrects out-of-range fields of
// settings in place as it reads their values once (CorrectDrawSettings), sets the render flags,
// loads the background picture when one is wanted, sizes the canvas and lays the background, and
// draws the crabs in normal or frame mode. Every path gives the same picture and leaves the same
// settings.
void DrawJob(MainSettings& settings, RenderSettings& render, DrawingSurface& canvas,
             WorkBuffers& buffers, const DrawJobServices& services, DrawPath path = DrawPath::Fast);

// Copies into kept what a job run on drawn leaves there for the next drawing and the fixed-colour
// dialog: the three flags and the colour of the "フレーム" entry. A job run on a copy of the
// settings (off the window's thread) hands them back this way; the fixed colours and the palette
// stay the window's.
void KeepJobState(RenderSettings& kept, const RenderSettings& drawn);

// Step 3 of the job alone: corrects each numeric field in place, in the job's order.
void CorrectFields(MainSettings& settings);

} // namespace tidepool
