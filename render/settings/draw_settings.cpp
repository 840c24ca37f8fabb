#include "render/settings/draw_settings.h"

#include "render/settings/leading_number.h"
#include "render/settings/numeric.h"

#include <algorithm>

namespace tidepool {

namespace {

int CanvasSide(const std::string& field) {
    return static_cast<int>(nearest(std::clamp(LeadingNumber(field), 0.0, double{kMaxCanvasSide})));
}

} // namespace

DrawSettings ReadDrawSettings(const MainSettings& m) {
    DrawSettings s;
    s.width = CanvasSide(m.width);
    s.height = CanvasSide(m.height);
    s.magnification = LeadingNumber(m.magnification);
    s.spacing = LeadingNumber(m.spacing);
    s.layout = m.layout;
    s.usePicture = m.usePicture;
    s.picturePath = m.picturePath;
    s.mode = m.mode;
    s.crabShadow = m.crabShadow;
    s.shadowWidth = toFloat32(LeadingNumber(m.shadowWidth));
    s.bubbles = m.bubbles;
    s.bubbleSpacing = toFloat32(LeadingNumber(m.bubbleSpacing));
    s.bubbleShadow = m.bubbleShadow;
    s.bubbleCrabColour = m.bubbleCrabColour;
    s.bubbleShiftX = toFloat32(LeadingNumber(m.bubbleShiftX));
    s.bubbleShiftY = toFloat32(LeadingNumber(m.bubbleShiftY));
    s.eyeShapes = m.eyeShapes;
    s.eyeShift = LeadingNumber(m.eyeShift);
    s.colourRole = m.colourRole;
    s.swatches = m.swatches;
    s.fixedColours = m.fixedColours;
    s.themeIndex = m.themeIndex;
    return s;
}

} // namespace tidepool
