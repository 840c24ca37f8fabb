#include "render/settings/draw_settings.h"

#include "render/settings/leading_number.h"
#include "render/settings/numeric.h"

#include <algorithm>
#include <optional>
#include <string>

namespace tidepool {

namespace {

int CanvasSide(double value) {
    return static_cast<int>(nearest(std::clamp(value, 0.0, double{kMaxCanvasSide})));
}

// The values of the fields that need no reading.
DrawSettings Choices(const MainSettings& m) {
    DrawSettings s;
    s.layout = m.layout;
    s.usePicture = m.usePicture;
    s.picturePath = m.picturePath;
    s.mode = m.mode;
    s.crabShadow = m.crabShadow;
    s.bubbles = m.bubbles;
    s.bubbleShadow = m.bubbleShadow;
    s.bubbleCrabColour = m.bubbleCrabColour;
    s.eyeShapes = m.eyeShapes;
    s.colourRole = m.colourRole;
    s.swatches = m.swatches;
    s.fixedColours = m.fixedColours;
    s.themeIndex = m.themeIndex;
    return s;
}

// What the drawing job holds a field within as it corrects it. A value at or beyond a bound is
// rewritten as the bound's text, which reads back as the bound itself; a field may be allowed to
// stand at its high bound as typed. A field without bounds is read as it stands.
struct Bound {
    double value;
    std::string text;
};

struct FieldBounds {
    std::optional<Bound> low;
    std::optional<Bound> high;
    bool highAllowed = false;
};

double Corrected(std::string& field, const FieldBounds& b) {
    const double v = LeadingNumber(field);
    if (b.low && v <= b.low->value) {
        field = b.low->text;
        return b.low->value;
    }
    const bool beyondHigh = b.high && (b.highAllowed ? v > b.high->value : v >= b.high->value);
    if (beyondHigh) {
        field = b.high->text;
        return b.high->value;
    }
    return v;
}

// The eye shift may not pass the number of shapes ticked; nothing holds it above zero.
FieldBounds EyeShiftBounds(const std::array<bool, 5>& eyeShapes) {
    const auto ticked = std::count(eyeShapes.begin(), eyeShapes.end(), true);
    return {std::nullopt, Bound{static_cast<double>(ticked), std::to_string(ticked)}, true};
}

} // namespace

DrawSettings ReadDrawSettings(const MainSettings& m) {
    DrawSettings s = Choices(m);
    s.width = CanvasSide(LeadingNumber(m.width));
    s.height = CanvasSide(LeadingNumber(m.height));
    s.magnification = LeadingNumber(m.magnification);
    s.spacing = LeadingNumber(m.spacing);
    s.shadowWidth = toFloat32(LeadingNumber(m.shadowWidth));
    s.bubbleSpacing = toFloat32(LeadingNumber(m.bubbleSpacing));
    s.bubbleShiftX = toFloat32(LeadingNumber(m.bubbleShiftX));
    s.bubbleShiftY = toFloat32(LeadingNumber(m.bubbleShiftY));
    s.eyeShift = LeadingNumber(m.eyeShift);
    return s;
}

DrawSettings CorrectDrawSettings(MainSettings& m) {
    DrawSettings s = Choices(m);
    s.width = CanvasSide(Corrected(m.width, {Bound{16, "16"}, Bound{2400, "2400"}}));
    s.height = CanvasSide(Corrected(m.height, {Bound{16, "16"}, Bound{2400, "2400"}}));
    s.magnification = Corrected(m.magnification, {Bound{0.1, "0.1"}, Bound{16, "16.0"}});
    s.spacing = Corrected(m.spacing, {Bound{0.85, "0.85"}, Bound{2, "2.0"}});
    s.shadowWidth = toFloat32(Corrected(m.shadowWidth, {std::nullopt, Bound{9, "9.0"}}));
    s.bubbleSpacing = toFloat32(Corrected(m.bubbleSpacing, {Bound{0.5, "0.5"}, Bound{2, "2.0"}}));
    s.bubbleShiftX = toFloat32(Corrected(m.bubbleShiftX, {}));
    s.bubbleShiftY = toFloat32(Corrected(m.bubbleShiftY, {}));
    s.eyeShift = Corrected(m.eyeShift, EyeShiftBounds(m.eyeShapes));
    return s;
}

} // namespace tidepool
