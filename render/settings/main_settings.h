#pragma once

#include "render/settings/colour.h"

#include <array>
#include <string>

namespace tidepool {

enum class Layout { Standard, Slide };                          // Option3(0), Option3(1)
enum class DrawMode { Normal, Frame };                          // Option4(0), Option4(1)
enum class ColourRole { Foreground, Middle, Background, None }; // Option6(0..2), or none selected

// The main window's controls exactly as the window holds them: every text as typed, which option
// of each group is selected, each check box. The defaults are the window's state after loading.
// The drawing job reads these afresh and writes corrected texts back.
struct MainSettings {
    int sizePreset = 0; // Option1(0..4), the size preset last selected

    std::string width = "240";         // Text1(0)
    std::string height = "320";        // Text1(1)
    std::string magnification = "1.0"; // Text2(0) "倍率"
    std::string spacing = "1.0";       // Text2(1) "間隔"
    Layout layout = Layout::Slide;     // Option3

    bool usePicture = false; // Option2(1) "ピクチャ使用" rather than Option2(0) "ピクチャ無し"
    std::string picturePath; // Text3

    DrawMode mode = DrawMode::Normal; // Option4
    bool crabShadow = true;           // Check3(0) "影" in the frame box
    std::string shadowWidth = "2.0";  // Text4 "影の幅"

    bool bubbles = true;               // Option5(1) "泡有り" rather than Option5(0) "泡無し"
    std::string bubbleSpacing = "1.0"; // Text5(0) "間隔" in the bubble box
    bool bubbleShadow = true;          // Check3(1) "影" in the bubble box
    bool bubbleCrabColour = false;     // Check3(2) "色"
    std::string bubbleShiftX = "0";    // Text5(1) "描画のシフト", across
    std::string bubbleShiftY = "0";    // Text5(2), down

    std::array<bool, 5> eyeShapes{true, false, false, false, false}; // Check2(0..4) ○ － × ∩ ∪
    std::string eyeShift;                                            // Text6 "シフト"

    ColourRole colourRole = ColourRole::Foreground; // Option6
    // Picture7(0..2): foreground, middle and background swatches.
    std::array<Colour, 3> swatches{0x8000000Du, 0x8000000Fu, 0x80000014u};
    bool fixedColours = true; // Check1 "固定色で描画"
    int themeIndex = 0;       // List1's selected position, 0 for "ノーマル"

    bool operator==(const MainSettings&) const = default;
};

// Width and height of the five size presets, Option1(0) to Option1(4).
struct SizePreset {
    const char* caption; // fixed-pitch caption, e.g. "QVGA( 240* 320)"
    int width;
    int height;
};
inline constexpr std::array<SizePreset, 5> kSizePresets{{
    {"QVGA( 240* 320)", 240, 320},
    {"VGA ( 640* 480)", 640, 480},
    {"XGA (1024* 768)", 1024, 768},
    {"WXGA(1280* 800)", 1280, 800},
    {"UXGA(1600*1200)", 1600, 1200},
}};

// Selects preset i and writes its size into the width and height fields.
void SelectSizePreset(MainSettings& settings, int i);

} // namespace tidepool
