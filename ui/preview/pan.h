#pragma once

// Drag-panning of the preview as plain arithmetic. The view follows the pointer at three times
// its movement, measured from the press, in single precision and twips.
//
// DragStartX, DragStartY, DragStartH, DragStartV -> DragStart::x, y, h, v

namespace tidepool {

// Where the left button went down over the viewport (its own coordinates) and where both bars
// stood then.
struct DragStart {
    float x = 0;
    float y = 0;
    float h = 0;
    float v = 0;
};

// The bar positions a drag has reached.
struct PanPositions {
    int h = 0;
    int v = 0;
    friend bool operator==(const PanPositions&, const PanPositions&) = default;
};

// A pointer coordinate in pixels as twips.
float PointerTwips(double pixels, int twipsPerPixel);

// The position of a bar that stood at startValue when the pointer was at pressedAt, now that the
// pointer is at pointer: start - (pointer - pressedAt) * 3, limited to 0..max and only then
// rounded (halves to even), so it never leaves the bar's range.
int PanPosition(float startValue, float pressedAt, float pointer, int max);

// Both bars' positions for the pointer at (x, y), in twips.
PanPositions Pan(const DragStart& start, float x, float y, int maxH, int maxV);

} // namespace tidepool
