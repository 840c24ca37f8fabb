#include "render/draw_job.h"

#include "render/figure/background.h"
#include "render/frame/frame_mode.h"
#include "render/settings/numeric.h"
#include "render/tiling/tile_crabs.h"

#include <algorithm>

namespace tidepool {

namespace {

// The swatch each part of the picture takes, by the selected colour role.
struct RoleColours {
    Colour frameCrab;      // crab colour of a frame drawing
    Colour shadow;         // shadow colour of a frame drawing
    Colour canvas;         // plain background
    Colour shadowedCanvas; // plain background repainted under a frame drawing's shadow
};

RoleColours ColoursForRole(const DrawSettings& s) {
    const auto& w = s.swatches;
    switch (s.colourRole) {
    case ColourRole::Middle:
        return {w[1], w[0], w[2], w[2]};
    case ColourRole::Background:
        return {w[2], w[0], w[0], w[1]};
    case ColourRole::Foreground:
    case ColourRole::None:
        break;
    }
    return {w[0], w[1], w[2], w[2]};
}

bool PictureWanted(const DrawSettings& s, const DrawJobServices& services) {
    return s.usePicture && services.fileExists && services.fileExists(s.picturePath);
}

void LoadBackgroundPicture(const DrawSettings& s, WorkBuffers& buffers,
                           const DrawJobServices& services) {
    auto show = [&](std::string_view message) {
        if (services.showMessage)
            services.showMessage(message);
    };
    if (!PictureWanted(s, services)) {
        show(kPictureMissingMessage);
        return;
    }
    int result = services.loadPicture ? services.loadPicture(buffers.picture, s.picturePath) : -1;
    if (result != 0)
        show(kPictureUnreadableMessage);
}

void SizeSurface(DrawingSurface& surface, int w, int h, double m, const SystemPalette& palette) {
    if (surface.width() != w || surface.height() != h)
        surface.resize(w, h);
    surface.setScale(toFloat32(w / m), toFloat32(h / m));
    surface.setPalette(palette);
}

// The theme index of the list's selection; the list always has one.
int ListedTheme(const DrawSettings& s, const RenderSettings& render) {
    return std::clamp(s.themeIndex + 1, 1, render.themes.ThemeCount - 2);
}

} // namespace

Colour PlainCanvasColour(const DrawSettings& settings) {
    return ColoursForRole(settings).canvas;
}

DrawingSurface CreateCanvas(const MainSettings& s, const SystemPalette& palette) {
    DrawingSurface canvas;
    canvas.setPalette(palette);
    canvas.setBackColor(kCanvasStartColour);
    const DrawSettings values = ReadDrawSettings(s);
    canvas.resize(values.width, values.height);
    return canvas;
}

void KeepJobState(RenderSettings& kept, const RenderSettings& drawn) {
    kept.UseFixedColours = drawn.UseFixedColours;
    kept.BubblesInCrabColour = drawn.BubblesInCrabColour;
    kept.SuppressBubbles = drawn.SuppressBubbles;
    const int frame = kept.themes.frameIndex();
    kept.themes[frame].Foreground = drawn.themes[frame].Foreground;
}

void CorrectFields(MainSettings& s) {
    CorrectDrawSettings(s);
}

void DrawJob(MainSettings& s, RenderSettings& render, DrawingSurface& canvas, WorkBuffers& buffers,
             const DrawJobServices& services, DrawPath path) {
    // From here on the drawing reads only these values, never the texts again.
    const DrawSettings values = CorrectDrawSettings(s);
    render.UseFixedColours = values.fixedColours ? 1 : 0;
    render.BubblesInCrabColour = values.bubbleCrabColour ? 1 : 0;
    render.SuppressBubbles = 0;

    if (values.usePicture)
        LoadBackgroundPicture(values, buffers, services);
    SizeSurface(canvas, values.width, values.height, values.magnification, render.palette);

    const RoleColours roles = ColoursForRole(values);
    if (PictureWanted(values, services)) {
        canvas.clear();
        ComposeBackground(canvas, buffers.picture);
    } else if (!FrameShadowRepaintsCanvas(values)) {
        // Setting the colour fills the canvas, so clearing it first would change nothing.
        canvas.setBackColor(roles.canvas);
    }

    if (values.mode == DrawMode::Normal)
        TileCrabs(canvas, ListedTheme(values, render), values, render, path);
    else
        DrawFrame(values, render, canvas, buffers,
                  {roles.frameCrab, roles.shadow, roles.shadowedCanvas}, path);
}

} // namespace tidepool
