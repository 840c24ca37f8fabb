#include "ui/fixedcolour/sample_crab.h"

#include "render/draw_job.h"
#include "render/figure/bubbles.h"
#include "render/figure/crab_figure.h"

namespace tidepool {

namespace {

constexpr CrabKind kFixedColourCrab = 1;
constexpr EyeShape kRoundEyes = 0;

} // namespace

void DrawSampleCrab(DrawingSurface& sample, int width, int height, const DrawSettings& main,
                    const RenderSettings& render) {
    sample.resize(width, height);
    sample.setPalette(render.palette);
    sample.setBackColor(PlainCanvasColour(main));

    sample.DrawWidth = 1;
    sample.FillStyle = 0;
    DrawBubbles(sample, 8, 0, render.FixedColours[4]);

    // A fixed-colour crab takes body, pattern and eyes from the fixed colours whatever the render
    // flag says, so the two swatch colours given here never show.
    const CrabStyle style{render.UseFixedColours, render.FixedColours,
                          OutlinePenWidth(main.magnification)};
    DrawCrab(sample, kFixedColourCrab, -1, 15, 0x000000u, 0xFFFFFFu, kRoundEyes, style);
}

} // namespace tidepool
