#include "ui/parts/window_placement.h"

#include "ui/parts/twips.h"

namespace tidepool {

namespace {

// Half of a length in pixels, halved in twips (truncating) and brought back to whole pixels.
int HalfInTwips(int pixels) {
    const int twips = pixels * kTwipsPerPixel / 2;
    return twips / kTwipsPerPixel;
}

} // namespace

SideBySide PlaceSideBySide(int screenWidth, int screenHeight, int mainWidth, int mainHeight,
                           int previewWidth) {
    SideBySide placed;
    placed.main.x = HalfInTwips(screenWidth - mainWidth - previewWidth);
    placed.main.y = HalfInTwips(screenHeight - mainHeight);
    placed.preview.x = placed.main.x + mainWidth;
    placed.preview.y = placed.main.y;
    return placed;
}

WindowPosition PlaceCentred(int screenWidth, int screenHeight, int width, int height) {
    return {HalfInTwips(screenWidth - width), HalfInTwips(screenHeight - height)};
}

} // namespace tidepool
