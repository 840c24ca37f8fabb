#include "render/draw_job.h"

#include "render/background.h"
#include "render/frame_layers.h"
#include "render/leading_number.h"
#include "render/numeric.h"
#include "render/tile_crabs.h"
#include "render/tiling_plan.h"

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

// Lays the crab shapes of a colour layer and its mask over the canvas: where the mask is black
// the canvas takes the colour layer's pixel, elsewhere it shows through.
void CombineLayers(DrawingSurface& canvas, const DrawingSurface& colour, const DrawingSurface& mask,
                   int offset) {
    blit(canvas, mask, offset, offset, RasterOp::And);
    blit(canvas, colour, offset, offset, RasterOp::Xor);
}

// The render state the frame's shadow layers are drawn in; it stays after the drawing.
void EnterShadowLayers(RenderSettings& render, const MainSettings& s, Colour shadowColour) {
    render.UseFixedColours = 0;
    render.BubblesInCrabColour = 1;
    if (!s.bubbleShadow)
        render.SuppressBubbles = 1;
    render.themes[render.themes.frameIndex()].Foreground = shadowColour;
}

// The crab layers sit one pixel in, so the shadow lies d - 1 pixels right and down.
int ShadowLayerOffset(const MainSettings& s) {
    return nearestClamped(toFloat32(LeadingNumber(s.shadowWidth)) + 1.0);
}

void DrawFrameInLayers(const MainSettings& s, RenderSettings& render, DrawingSurface& canvas,
                       WorkBuffers& buffers, const RoleColours& roles, DrawPath path) {
    const int frame = render.themes.frameIndex();
    const int inverted = render.themes.invertedFrameIndex();
    auto& layers = buffers.layers;
    const double m = LeadingNumber(s.magnification);
    for (DrawingSurface& layer : layers)
        SizeSurface(layer, canvas.width(), canvas.height(), m, render.palette);

    render.themes[frame].Foreground = roles.frameCrab;
    TileCrabs(layers[0], frame, s, render, path);
    TileCrabs(layers[1], inverted, s, render, path);

    if (s.crabShadow) {
        EnterShadowLayers(render, s, roles.shadow);
        TileCrabs(layers[2], frame, s, render, path);
        TileCrabs(layers[3], inverted, s, render, path);
        if (!s.usePicture)
            canvas.setBackColor(roles.shadowedCanvas);
        CombineLayers(canvas, layers[2], layers[3], ShadowLayerOffset(s));
    }
    CombineLayers(canvas, layers[0], layers[1], 1);
}

// The frame's layer pairs in the order they are combined (the shadow's first), each planned in
// the render state it is drawn in, and where each is laid.
struct FramePairs {
    std::vector<LayerPairPlan> plans;
    std::vector<int> offsets;
};

FramePairs PlanFramePairs(const MainSettings& s, const RenderSettings& render, int w, int h,
                          const RoleColours& roles) {
    const int frame = render.themes.frameIndex();
    const int inverted = render.themes.invertedFrameIndex();
    RenderSettings state = render;
    auto plan = [&] {
        return LayerPairPlan{PlanTiling(w, h, frame, s, state),
                             PlanTiling(w, h, inverted, s, state)};
    };
    state.themes[frame].Foreground = roles.frameCrab;
    const LayerPairPlan crabs = plan();
    if (!s.crabShadow)
        return {{crabs}, {1}};
    EnterShadowLayers(state, s, roles.shadow);
    return {{plan(), crabs}, {ShadowLayerOffset(s), 1}};
}

// The same picture without the four layers: the layers are drawn together, all at once when
// they draw the same figures, else pair by pair. False, with nothing drawn and render untouched,
// when that cannot be.
bool DrawFrameInPairs(const MainSettings& s, RenderSettings& render, DrawingSurface& canvas,
                      WorkBuffers& buffers, const RoleColours& roles, StampUse use) {
    const FramePairs pairs = PlanFramePairs(s, render, canvas.width(), canvas.height(), roles);
    // Each set of layers with the pairs it holds, in combining order.
    std::vector<std::pair<FrameLayers, std::vector<std::size_t>>> sets(1);
    if (sets[0].first.prepare(pairs.plans, canvas, use)) {
        for (std::size_t p = 0; p < pairs.plans.size(); ++p)
            sets[0].second.push_back(p);
    } else {
        sets.assign(pairs.plans.size(), {});
        for (std::size_t p = 0; p < pairs.plans.size(); ++p) {
            if (!sets[p].first.prepare({pairs.plans[p]}, canvas, use))
                return false;
            sets[p].second.push_back(0);
        }
    }

    // The render state drawing the layers one by one leaves.
    render.themes[render.themes.frameIndex()].Foreground = roles.frameCrab;
    if (s.crabShadow) {
        EnterShadowLayers(render, s, roles.shadow);
        if (!s.usePicture)
            canvas.setBackColor(roles.shadowedCanvas);
    }
    std::size_t combined = 0;
    for (const auto& [layers, held] : sets) {
        layers.draw(buffers.layerPairs);
        for (std::size_t p : held)
            layers.combine(canvas, p, pairs.offsets[combined++], buffers.layerPairs);
    }
    return true;
}

void DrawFrame(const MainSettings& s, RenderSettings& render, DrawingSurface& canvas,
               WorkBuffers& buffers, const RoleColours& roles, DrawPath path) {
    switch (path) {
    case DrawPath::Fast:
        if (DrawFrameInPairs(s, render, canvas, buffers, roles, StampUse::WhenTheyPay))
            return;
        break;
    case DrawPath::Stamped:
        if (DrawFrameInPairs(s, render, canvas, buffers, roles, StampUse::WhereverTheyFit))
            return;
        break;
    case DrawPath::Plain:
        break;
    }
    DrawFrameInLayers(s, render, canvas, buffers, roles, path);
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
    } else {
        // Setting the colour fills the canvas, so clearing it first would change nothing.
        canvas.setBackColor(roles.canvas);
    }

    if (s.mode == DrawMode::Normal)
        TileCrabs(canvas, ListedTheme(s, render), s, render, path);
    else
        DrawFrame(s, render, canvas, buffers, roles, path);
}

} // namespace tidepool
