#include "ui/parts/room_for_text.h"

#include <gtest/gtest.h>

namespace tidepool {
namespace {

// Each box's left edge and width.
using Places = std::vector<std::pair<int, int>>;

Places PlacesOf(const RoomForText& room) {
    Places places;
    for (const TextBox& box : room.boxes)
        places.emplace_back(box.x, box.width);
    return places;
}

// A label with a field 16 pixels to its right, and a button under both.
std::vector<TextBox> LabelFieldButton(int labelShortfall) {
    return {{-1, 10, 10, 40, 12, labelShortfall}, {-1, 66, 8, 30, 18}, {-1, 10, 40, 80, 20}};
}

TEST(RoomForText, NothingMovesWhereEveryTextFits) {
    const RoomForText room = MakeRoomForText(LabelFieldButton(0), 106);
    EXPECT_EQ(PlacesOf(room), (Places{{10, 40}, {66, 30}, {10, 80}}));
    EXPECT_EQ(room.windowWidth, 106);
}

TEST(RoomForText, ATextGrowsIntoTheGapBeforeItPushes) {
    EXPECT_EQ(PlacesOf(MakeRoomForText(LabelFieldButton(12), 106)),
              (Places{{10, 52}, {66, 30}, {10, 80}}));
    const RoomForText pushed = MakeRoomForText(LabelFieldButton(20), 106);
    // Four pixels of the gap stay; the button below is not beside the label and stays.
    EXPECT_EQ(PlacesOf(pushed), (Places{{10, 60}, {74, 30}, {10, 80}}));
    EXPECT_EQ(pushed.windowWidth, 114);
}

TEST(RoomForText, PanelsGrowAndColumnsStayColumns) {
    // Two stacked panels of one width, the first holding a caption 10 pixels too wide at its
    // edge; a box beside both panels.
    const std::vector<TextBox> boxes{
        {-1, 0, 0, 50, 30}, {-1, 0, 34, 50, 30}, {-1, 56, 0, 20, 64}, {0, 0, 0, 50, 12, 10}};
    EXPECT_EQ(PlacesOf(MakeRoomForText(boxes, 80)), (Places{{0, 60}, {0, 60}, {64, 20}, {0, 60}}));
}

TEST(RoomForText, WhatReachedTheRightMarginStillDoesAndAFieldBesideItFollows) {
    // A caption that pushes the window wider, and a row of a stretching field and a button
    // under it.
    const std::vector<TextBox> boxes{
        {-1, 8, 8, 80, 12, 20}, {-1, 8, 30, 40, 18, 0, true}, {-1, 52, 30, 36, 18}};
    EXPECT_EQ(PlacesOf(MakeRoomForText(boxes, 96)), (Places{{8, 100}, {8, 60}, {72, 36}}));
}

} // namespace
} // namespace tidepool
