#include "render/frame/frame_mode.h"

#include "render/frame/frame_layers.h"
#include "render/settings/numeric.h"
#include "render/tiling/tiling_plan.h"

#include <optional>
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

// The frame's layer pairs, each planned in the render state it is drawn in, from one tiling
// planned for the canvas, and where each is laid. The crab layers sit one pixel in, so the shadow
// lies d - 1 pixels right and down.
struct FramePlan {
    LayerPairPlan crabs;                 // laid at (1, 1)
    std::optional<LayerPairPlan> shadow; // laid at (d, d), combined first
    int shadowOffset = 0;                // d

    // The pairs in the order they are combined, and where each is laid.
    std::vector<LayerPairPlan> pairs() const {
        if (!shadow)
            return {crabs};
        return {*shadow, crabs};
    }
    std::vector<int> offsets() const {
        if (!shadow)
            return {1};
        return {shadowOffset, 1};
    }
};

// Plans the pairs, taking render through the states the layers are drawn in; the last one stays
// after the drawing.
FramePlan PlanFrame(const DrawSettings& s, RenderSettings& render, int w, int h,
                    const FrameColours& colours) {
    const int frame = render.themes.frameIndex();
    const int inverted = render.themes.invertedFrameIndex();
    const TilingPlan where = PlanTiling(w, h, s);
    auto pair = [&] {
        return LayerPairPlan{ColourTiling(where, frame, s, render),
                             ColourTiling(where, inverted, s, render)};
    };
    render.themes[frame].Foreground = colours.crab;
    FramePlan plan{pair(), std::nullopt, 0};
    if (s.crabShadow) {
        EnterShadowLayers(render, s, colours.shadow);
        plan.shadow = pair();
        plan.shadowOffset = nearestClamped(s.shadowWidth + 1.0);
    }
    return plan;
}

// Draws each pair into two of the four layer buffers, the crabs' into the first two and the
// shadow's into the last two, and combines them into the canvas.
void DrawFrameInLayers(const FramePlan& plan, DrawingSurface& canvas, WorkBuffers& buffers,
                       const SystemPalette& palette, DrawPath path) {
    auto& layers = buffers.layers;
    // The same size and the same user scale as the canvas.
    for (DrawingSurface& layer : layers) {
        if (layer.width() != canvas.width() || layer.height() != canvas.height())
            layer.resize(canvas.width(), canvas.height());
        layer.setScale(canvas.unitsAcross(), canvas.unitsDown());
        layer.setPalette(palette);
    }
    auto drawPair = [&](const LayerPairPlan& pair, DrawingSurface& colour, DrawingSurface& mask) {
        DrawTiling(colour, pair.colour, path);
        DrawTiling(mask, pair.mask, path);
    };
    drawPair(plan.crabs, layers[0], layers[1]);
    if (plan.shadow) {
        drawPair(*plan.shadow, layers[2], layers[3]);
        CombineLayers(canvas, layers[2], layers[3], plan.shadowOffset);
    }
    CombineLayers(canvas, layers[0], layers[1], 1);
}

// The same picture without the four layers: the layers are drawn together, all at once when
// they draw the same figures, else pair by pair. False, with nothing drawn, when that cannot be.
bool DrawFrameInPairs(const FramePlan& plan, DrawingSurface& canvas, WorkBuffers& buffers,
                      StampUse use) {
    const std::vector<LayerPairPlan> pairs = plan.pairs();
    const std::vector<int> offsets = plan.offsets();
    // The layers all at once, or else one set for each pair, in combining order.
    std::vector<FrameLayers> sets(1);
    std::vector<std::vector<int>> setOffsets{offsets};
    if (!sets[0].prepare(pairs, canvas, use)) {
        sets.assign(pairs.size(), {});
        setOffsets.clear();
        for (std::size_t p = 0; p < pairs.size(); ++p) {
            if (!sets[p].prepare({pairs[p]}, canvas, use))
                return false;
            setOffsets.push_back({offsets[p]});
        }
    }
    for (std::size_t k = 0; k < sets.size(); ++k) {
        sets[k].draw(buffers.layerIds);
        sets[k].combine(canvas, setOffsets[k], buffers.layerIds);
    }
    return true;
}

bool DrawFrameFromStamps(const FramePlan& plan, DrawingSurface& canvas, WorkBuffers& buffers,
                         DrawPath path) {
    switch (path) {
    case DrawPath::Fast:
        return DrawFrameInPairs(plan, canvas, buffers, StampUse::WhenTheyPay);
    case DrawPath::Stamped:
        return DrawFrameInPairs(plan, canvas, buffers, StampUse::WhereverTheyFit);
    case DrawPath::Plain:
        return false;
    }
    return false;
}

} // namespace

bool FrameShadowRepaintsCanvas(const DrawSettings& s) {
    return s.mode == DrawMode::Frame && s.crabShadow && !s.usePicture;
}

void DrawFrame(const DrawSettings& s, RenderSettings& render, DrawingSurface& canvas,
               WorkBuffers& buffers, const FrameColours& colours, DrawPath path) {
    const FramePlan plan = PlanFrame(s, render, canvas.width(), canvas.height(), colours);
    // The shadow's canvas colour goes under both pairs, however they are drawn.
    if (FrameShadowRepaintsCanvas(s))
        canvas.setBackColor(colours.shadowedCanvas);
    if (!DrawFrameFromStamps(plan, canvas, buffers, path))
        DrawFrameInLayers(plan, canvas, buffers, render.palette, path);
}

} // namespace tidepool
