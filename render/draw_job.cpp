#include "render/draw_job.h"

#include "render/figure/background.h"
#include "render/frame/frame_mode.h"
#include "render/settings/leading_number.h"
#include "render/settings/numeric.h"
#include "render/tiling/tile_crabs.h"

#include <algorithm>
#include <string>

namespace tidepool {

namespace {

// A field whose value lies at or beyond a bound is rewritten as that bound's text.
struct FieldBounds {
    double low;
    const char* lowText;
    double high;
    const char* highText;
};

void ClampField(std::string& field, const FieldBounds& b) {
    double v = LeadingNumber(field);
    if (v <= b.low)
        field = b.lowText;
    else if (v >= b.high)
        field = b.highText;
}

// The swatch each part of the picture takes, by the selected colour role.
struct RoleColours {
    Colour frameCrab;      // crab colour of a frame drawing
    Colour shadow;         // shadow colour of a frame drawing
    Colour canvas;         // plain background
    Colour shadowedCanvas; // plain background repainted under a frame drawing's shadow
};

RoleColours ColoursForRole(const MainSettings& s) {
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

bool PictureWanted(const MainSettings& s, const DrawJobServices& services) {
    return s.usePicture && services.fileExists && services.fileExists(s.picturePath);
}

void LoadBackgroundPicture(const MainSettings& s, WorkBuffers& buffers,
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
int ListedTheme(const MainSettings& s, const RenderSettings& render) {
    return std::clamp(s.themeIndex + 1, 1, render.themes.ThemeCount - 2);
}

} // namespace

Colour PlainCanvasColour(const MainSettings& settings) {
    return ColoursForRole(settings).canvas;
}

DrawingSurface CreateCanvas(const MainSettings& s, const SystemPalette& palette) {
    DrawingSurface canvas;
    canvas.setPalette(palette);
    canvas.setBackColor(kCanvasStartColour);
    auto size = [](const std::string& field) {
        return std::clamp(static_cast<int>(nearest(std::clamp(LeadingNumber(field), 0.0, 2400.0))),
                          0, 2400);
    };
    canvas.resize(size(s.width), size(s.height));
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
    ClampField(s.width, {16, "16", 2400, "2400"});
    ClampField(s.height, {16, "16", 2400, "2400"});
    ClampField(s.magnification, {0.1, "0.1", 16, "16.0"});
    ClampField(s.spacing, {0.85, "0.85", 2, "2.0"});
    if (LeadingNumber(s.shadowWidth) >= 9)
        s.shadowWidth = "9.0";
    ClampField(s.bubbleSpacing, {0.5, "0.5", 2, "2.0"});
    auto ticked = std::count(s.eyeShapes.begin(), s.eyeShapes.end(), true);
    if (LeadingNumber(s.eyeShift) > static_cast<double>(ticked))
        s.eyeShift = std::to_string(ticked);
}

void DrawJob(MainSettings& s, RenderSettings& render, DrawingSurface& canvas, WorkBuffers& buffers,
             const DrawJobServices& services, DrawPath path) {
    render.UseFixedColours = s.fixedColours ? 1 : 0;
    render.BubblesInCrabColour = s.bubbleCrabColour ? 1 : 0;
    render.SuppressBubbles = 0;

    CorrectFields(s);
    if (s.usePicture)
        LoadBackgroundPicture(s, buffers, services);

    const int w = static_cast<int>(nearest(LeadingNumber(s.width)));
    const int h = static_cast<int>(nearest(LeadingNumber(s.height)));
    const double m = LeadingNumber(s.magnification);
    SizeSurface(canvas, w, h, m, render.palette);

    const RoleColours roles = ColoursForRole(s);
    if (PictureWanted(s, services)) {
        canvas.clear();
        ComposeBackground(canvas, buffers.picture);
    } else if (!FrameShadowRepaintsCanvas(s)) {
        // Setting the colour fills the canvas, so clearing it first would change nothing.
        canvas.setBackColor(roles.canvas);
    }

    if (s.mode == DrawMode::Normal)
        TileCrabs(canvas, ListedTheme(s, render), s, render, path);
    else
        DrawFrame(s, render, canvas, buffers, {roles.frameCrab, roles.shadow, roles.shadowedCanvas},
                  path);
}

} // namespace tidepool
