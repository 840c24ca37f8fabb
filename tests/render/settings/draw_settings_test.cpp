#include "render/settings/draw_settings.h"

#include "tests/support/test_name.h"

#include <gtest/gtest.h>

#include <string>

namespace tidepool {
namespace {

// Each value comes from its own field, as the field stands: the fixed-colour dialog reads fields
// the drawing job has not corrected, so an out-of-range value stays as typed.
TEST(ReadDrawSettings, ReadsEveryNumberFromItsOwnField) {
    MainSettings typed;
    typed.width = "300.5";
    typed.height = " 17px";
    typed.magnification = "40";
    typed.spacing = "0.3";
    typed.shadowWidth = "0.1";
    typed.bubbleSpacing = "1.25";
    typed.bubbleShiftX = "-7";
    typed.bubbleShiftY = "9e1";
    typed.eyeShift = "4";
    const DrawSettings s = ReadDrawSettings(typed);
    EXPECT_EQ(s.width, 300); // a half rounds to even
    EXPECT_EQ(s.height, 17);
    EXPECT_EQ(s.magnification, 40.0);
    EXPECT_EQ(s.spacing, 0.3);
    EXPECT_EQ(s.shadowWidth, 0.1f); // layout values are held as 32-bit floats
    EXPECT_EQ(s.bubbleSpacing, 1.25f);
    EXPECT_EQ(s.bubbleShiftX, -7.0f);
    EXPECT_EQ(s.bubbleShiftY, 90.0f);
    EXPECT_EQ(s.eyeShift, 4.0);
}

struct SideCase {
    std::string typed;
    int side;
};

class CanvasSideTest : public testing::TestWithParam<SideCase> {};

// The preview's first canvas is sized from fields nobody has corrected yet.
TEST_P(CanvasSideTest, IsTheRoundedValueHeldWithinZeroAnd2400) {
    MainSettings typed;
    typed.width = typed.height = GetParam().typed;
    const DrawSettings s = ReadDrawSettings(typed);
    EXPECT_EQ(s.width, GetParam().side);
    EXPECT_EQ(s.height, GetParam().side);
}

INSTANTIATE_TEST_SUITE_P(Texts, CanvasSideTest,
                         testing::Values(SideCase{"17.5", 18}, SideCase{"2400.4", 2400},
                                         SideCase{"1e999", 2400}, SideCase{"-5", 0},
                                         SideCase{"-1e999", 0}, SideCase{"abc", 0}),
                         [](const auto& info) { return test_names::NameOf(info.param.typed); });

} // namespace
} // namespace tidepool
