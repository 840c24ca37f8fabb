#include "ui/preview/pan.h"

#include <cmath>

namespace tidepool {

float PointerTwips(double pixels, int twipsPerPixel) {
    return static_cast<float>(pixels * twipsPerPixel);
}

int PanPosition(float startValue, float pressedAt, float pointer, int max) {
    float position = startValue - (pointer - pressedAt) * 3.0f;
    if (!(position >= 0)) // NaN included
        position = 0;
    if (position > static_cast<float>(max))
        position = static_cast<float>(max);
    // A float may round max itself upwards (beyond 2^24), so the result is held to it again.
    const double rounded = std::nearbyint(position);
    return rounded >= max ? max : static_cast<int>(rounded);
}

PanPositions Pan(const DragStart& start, float x, float y, int maxH, int maxV) {
    return {PanPosition(start.h, start.x, x, maxH), PanPosition(start.v, start.y, y, maxV)};
}

} // namespace tidepool
