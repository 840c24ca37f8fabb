#pragma once

#include "render/settings/colour.h"

#include <array>
#include <string>

namespace tidepool {

enum class Layout { Standard, Slide };                          // "標準", "スライド"
enum class DrawMode { Normal, Frame };                          // "ノーマル", "フレーム"
enum class ColourRole { Foreground, Middle, Background, None }; // "前景色" .. "背景色", or none

// The main window's controls exactly as the window holds them: every text as typed, which option
// of each group is selected, each check box. The defaults are the window's state after loading.
// The drawing job reads these afresh and writes corrected texts back.
struct MainSettings {
    int sizePreset = 0; // the size preset last selected, QVGA to UXGA

    std::string width = "240";         // "画像のサイズ", across
    std::string height = "320";        // "画像のサイズ", down
    std::string magnification = "1.0"; // "倍率"
    std::string spacing = "1.0";       // "間隔"
    Layout layout = Layout::Slide;     // "位置"

    bool usePicture = false; // "ピクチャ使用" rather than "ピクチャ無し"
    std::string picturePath; // the picture's path, beside "参照(&B)"

    DrawMode mode = DrawMode::Normal;
    bool crabShadow = true;          // "影" in the frame box
    std::string shadowWidth = "2.0"; // "影の幅"

    bool bubbles = true;               // "泡有り" rather than "泡無し"
    std::string bubbleSpacing = "1.0"; // "間隔" in the bubble box
    bool bubbleShadow = true;          // "影" in the bubble box
    bool bubbleCrabColour = false;     // "色"
    std::string bubbleShiftX = "0";    // "描画のシフト", across
    std::string bubbleShiftY = "0";    // "描画のシフト", down

    std::array<bool, 5> eyeShapes{true, false, false, false, false}; // ○ － × ∩ ∪
    std::string eyeShift;                                            // "シフト"

    ColourRole colourRole = ColourRole::Foreground;
    // The foreground, middle and background swatches.
    std::array<Colour, 3> swatches{0x8000000Du, 0x8000000Fu, 0x80000014u};
    bool fixedColours = true; // "固定色で描画"
    int themeIndex = 0;       // the theme list's selected position, 0 for "ノーマル"

    bool operator==(const MainSettings&) const = default;
};

// Width and height of the five size presets.
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
