#pragma once

#include <vector>

namespace tidepool {

// One control or panel of a window laid out in fixed places, and how much wider its text needs it
// to be than it is.
struct TextBox {
    int parent = -1; // the index of the panel it sits on, always an earlier box; -1 for the window
    int x = 0;       // its place, in pixels relative to its panel
    int y = 0;
    int width = 0;
    int height = 0;
    int shortfall = 0;      // pixels its text needs beyond its width; 0 when it fits
    bool stretches = false; // a field that may be widened to fill its row
};

struct RoomForText {
    std::vector<TextBox> boxes; // in the same order, moved and widened
    int windowWidth = 0;
};

// Widens every box whose text does not fit by what it lacks, and moves what stands to its right
// (beside it, at the same height) out of its way, using up the gap between them first and keeping
// at most a few pixels of it. A panel grows to hold what grew inside it, and the window by as much
// as its contents reach further right. Boxes stacked in a column (one left edge, one above the
// next) move as one, and those of one width grow alike. A box that reached the window's right
// margin still does, a stretching field beside it widening to follow; so it does where the window
// grows to minimumWidth. Nothing moves down. Where every text fits the window, as wide as
// minimumWidth at least, every box stays exactly where it was.
RoomForText MakeRoomForText(const std::vector<TextBox>& boxes, int windowWidth,
                            int minimumWidth = 0);

} // namespace tidepool
