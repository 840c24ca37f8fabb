#pragma once

#include "render/settings/colour.h"
#include "render/settings/main_settings.h"

#include <array>
#include <string>

namespace tidepool {

// The settings one drawing is made from: the main window's settings with every numeric field read
// once, by the leading-number rule, into the value the drawing uses. The drawing job reads them
// as it corrects the fields, and every stage below takes this instead of the texts. Held as the
// layout stores them: the canvas size as whole pixels, M, S and V as 64-bit floats, the shadow
// width, bubble spacing and bubble shifts as 32-bit floats.
struct DrawSettings {
    int width = 0;            // W in pixels
    int height = 0;           // H in pixels
    double magnification = 0; // M: pixels per drawing unit
    double spacing = 0;       // S: crab pitch factor
    Layout layout = Layout::Slide;

    bool usePicture = false;
    std::string picturePath;

    DrawMode mode = DrawMode::Normal;
    bool crabShadow = false;
    float shadowWidth = 0; // T in units

    bool bubbles = false;
    float bubbleSpacing = 0; // B
    bool bubbleShadow = false;
    bool bubbleCrabColour = false;
    float bubbleShiftX = 0; // BX in units
    float bubbleShiftY = 0; // BY in units

    std::array<bool, 5> eyeShapes{};
    double eyeShift = 0; // V: rotation of the eye-shape sequence

    ColourRole colourRole = ColourRole::Foreground;
    std::array<Colour, 3> swatches{};
    bool fixedColours = false;
    int themeIndex = 0;

    bool operator==(const DrawSettings&) const = default;
};

// The biggest canvas side a field can ask for, in pixels.
inline constexpr int kMaxCanvasSide = 2400;

// The values of settings' fields as they stand, corrected or not. A width or height is rounded
// and held within 0 to kMaxCanvasSide, so that a field the drawing job has not yet corrected
// still gives a size a surface can take.
DrawSettings ReadDrawSettings(const MainSettings& settings);

// The drawing job's correction and reading in one: rewrites each numeric field whose value lies
// at or beyond its bound as the bound's text (width and height 16 to 2400, M 0.1 to 16, S 0.85 to
// 2, T at most 9, B 0.5 to 2, V at most the number of eye shapes ticked) and returns the values
// the corrected fields hold, reading each text once.
DrawSettings CorrectDrawSettings(MainSettings& settings);

} // namespace tidepool
