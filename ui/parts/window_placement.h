#pragma once

namespace tidepool {

struct WindowPosition {
    int x = 0;
    int y = 0;
};

// Where the main window and the preview window open: side by side, the pair centred across the
// screen, the main window centred down it and the preview's top level with it. Sizes are the
// windows' outer sizes in pixels; the halving is done in twips, as the desktop measures windows,
// and truncates toward zero.
struct SideBySide {
    WindowPosition main;
    WindowPosition preview;
};
SideBySide PlaceSideBySide(int screenWidth, int screenHeight, int mainWidth, int mainHeight,
                           int previewWidth);

// Where a dialog of the given outer size opens: centred on the screen, halved the same way.
WindowPosition PlaceCentred(int screenWidth, int screenHeight, int width, int height);

} // namespace tidepool
