#include "render/frame/frame_mode.h"

#include "render/frame/frame_layers.h"
#include "render/settings/numeric.h"
#include "render/tiling/tiling_plan.h"

#include <vector>

namespace tidepool {

namespace {

// Lays the crab shapes of a colour layer and its mask over the canvas: where the mask is black
// the canvas takes the colour layer's pixel, elsewhere it shows through.
void CombineLayers(DrawingSurface& canvas, const DrawingSurface& colour, const DrawingSurface& mask,
                   int offset) {
    blit(canvas, mask, offset, offset, RasterOp::And);
    blit(canvas, colour, offset, offset, RasterOp::Xor);
}

// The render state the frame's shadow layers are drawn in; it stays after the drawing.
void EnterShadowLayers(RenderSettings& render, const DrawSettings& s, Colour shadowColour) {
    render.UseFixedColours = 0;
    render.BubblesInCrabColour = 1;
    if (!s.bubbleShadow)
        render.SuppressBubbles = 1;
    render.themes[render.themes.frameIndex()].Foreground = shadowColour;
}

// The crab layers sit one pixel in, so the shadow lies d - 1 pixels right and down.
int ShadowLayerOffset(const DrawSettings& s) {
    return nearestClamped(s.shadowWidth + 1.0);
}

void DrawFrameInLayers(const DrawSettings& s, RenderSettings& render, DrawingSurface& canvas,
                       WorkBuffers& buffers, const FrameColours& colours, DrawPath path) {
    const int frame = render.themes.frameIndex();
    const int inverted = render.themes.invertedFrameIndex();
    auto& layers = buffers.layers;
    // The same size and the same user scale as the canvas.
    for (DrawingSurface& layer : layers) {
        if (layer.width() != canvas.width() || layer.height() != canvas.height())
            layer.resize(canvas.width(), canvas.height());
        layer.setScale(canvas.unitsAcross(), canvas.unitsDown());
        layer.setPalette(render.palette);
    }

    render.themes[frame].Foreground = colours.crab;
    TileCrabs(layers[0], frame, s, render, path);
    TileCrabs(layers[1], inverted, s, render, path);

    if (s.crabShadow) {
        EnterShadowLayers(render, s, colours.shadow);
        TileCrabs(layers[2], frame, s, render, path);
        TileCrabs(layers[3], inverted, s, render, path);
        if (!s.usePicture)
            canvas.setBackColor(colours.shadowedCanvas);
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

FramePairs PlanFramePairs(const DrawSettings& s, const RenderSettings& render, int w, int h,
                          const FrameColours& colours) {
    const int frame = render.themes.frameIndex();
    const int inverted = render.themes.invertedFrameIndex();
    RenderSettings state = render;
    auto plan = [&] {
        return LayerPairPlan{ColourTiling(PlanTiling(w, h, s), frame, s, state),
                             ColourTiling(PlanTiling(w, h, s), inverted, s, state)};
    };
    state.themes[frame].Foreground = colours.crab;
    const LayerPairPlan crabs = plan();
    if (!s.crabShadow)
        return {{crabs}, {1}};
    EnterShadowLayers(state, s, colours.shadow);
    return {{plan(), crabs}, {ShadowLayerOffset(s), 1}};
}

// The same picture without the four layers: the layers are drawn together, all at once when
// they draw the same figures, else pair by pair. False, with nothing drawn and render untouched,
// when that cannot be.
bool DrawFrameInPairs(const DrawSettings& s, RenderSettings& render, DrawingSurface& canvas,
                      WorkBuffers& buffers, const FrameColours& colours, StampUse use) {
    const FramePairs pairs = PlanFramePairs(s, render, canvas.width(), canvas.height(), colours);
    // The layers all at once, or else one set for each pair, in combining order.
    std::vector<FrameLayers> sets(1);
    std::vector<std::vector<int>> offsets{pairs.offsets};
    if (!sets[0].prepare(pairs.plans, canvas, use)) {
        sets.assign(pairs.plans.size(), {});
        offsets.clear();
        for (std::size_t p = 0; p < pairs.plans.size(); ++p) {
            if (!sets[p].prepare({pairs.plans[p]}, canvas, use))
                return false;
            offsets.push_back({pairs.offsets[p]});
        }
    }

    // The render state drawing the layers one by one leaves.
    render.themes[render.themes.frameIndex()].Foreground = colours.crab;
    if (s.crabShadow) {
        EnterShadowLayers(render, s, colours.shadow);
        if (!s.usePicture)
            canvas.setBackColor(colours.shadowedCanvas);
    }
    for (std::size_t k = 0; k < sets.size(); ++k) {
        sets[k].draw(buffers.layerIds);
        sets[k].combine(canvas, offsets[k], buffers.layerIds);
    }
    return true;
}

} // namespace

bool FrameShadowRepaintsCanvas(const DrawSettings& s) {
    return s.mode == DrawMode::Frame && s.crabShadow && !s.usePicture;
}

void DrawFrame(const DrawSettings& s, RenderSettings& render, DrawingSurface& canvas,
               WorkBuffers& buffers, const FrameColours& colours, DrawPath path) {
    switch (path) {
    case DrawPath::Fast:
        if (DrawFrameInPairs(s, render, canvas, buffers, colours, StampUse::WhenTheyPay))
            return;
        break;
    case DrawPath::Stamped:
        if (DrawFrameInPairs(s, render, canvas, buffers, colours, StampUse::WhereverTheyFit))
            return;
        break;
    case DrawPath::Plain:
        break;
    }
    DrawFrameInLayers(s, render, canvas, buffers, colours, path);
}

} // namespace tidepool
