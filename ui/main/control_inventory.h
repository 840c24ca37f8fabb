#pragma once

#include "ui/main/character_filter.h"

#include <QtGlobal>

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace tidepool {

// The main window's controls by what each is for, in the order they are made: each panel before
// what it holds.
enum class MainControl {
    // The panels that group the controls below.
    SizePanel,
    LayoutPanel,
    ModePanel,
    BubblePanel,
    EyePanel,
    ColourPanel,
    // The image size, its presets, and the crabs' magnification, layout and spacing.
    SizeQvga,
    SizeVga,
    SizeXga,
    SizeWxga,
    SizeUxga,
    SizeLabel,
    Width,
    TimesLabel,
    Height,
    MagnificationLabel,
    Magnification,
    LayoutLabel,
    LayoutStandard,
    LayoutSlide,
    SpacingLabel,
    Spacing,
    // Normal or frame mode, and the crabs' shadow.
    NormalMode,
    FrameMode,
    CrabShadow,
    ShadowWidthLabel,
    ShadowWidth,
    // The bubbles.
    NoBubbles,
    WithBubbles,
    BubbleSpacingLabel,
    BubbleSpacing,
    BubbleShadow,
    BubbleCrabColour,
    BubbleShiftLabel,
    BubbleShiftNote,
    BubbleShiftX,
    BubbleShiftDash,
    BubbleShiftY,
    // The eye shapes and their shift.
    EyeRound,
    EyeLine,
    EyeCross,
    EyeCap,
    EyeCup,
    EyeShiftLabel,
    EyeShift,
    // The colours: which one a theme's pick goes to, the three swatches, the fixed colours.
    ForegroundOption,
    MiddleOption,
    BackgroundOption,
    ForegroundSwatch,
    MiddleSwatch,
    BackgroundSwatch,
    FixedColours,
    // The themes, the draw button and the background picture.
    Themes,
    Draw,
    NoPicture,
    UsePicture,
    PicturePath,
    Browse,
};
inline constexpr std::size_t kMainControlCount = static_cast<std::size_t>(MainControl::Browse) + 1;

enum class ControlKind { Panel, Option, Check, Label, Text, List, Button, Swatch };

// What a control sits on when it sits on no panel.
inline constexpr std::optional<MainControl> kClientArea = std::nullopt;

// One control of the main window: its role; its objectName, by which tests and screen readers
// find it; what it is; the panel it sits on; its place in pixels relative to that panel; its
// caption and, for a text field, its maximum length (0 for none) and the characters it takes.
// Captions in words are marked for translation; the size presets and the symbols read the same in
// every language.
struct ControlPlace {
    MainControl role;
    std::string_view objectName;
    ControlKind kind;
    std::optional<MainControl> panel;
    int x, y, width, height;
    std::string_view caption;
    int maxLength = 0;
    CharacterFilter filter = CharacterFilter::None;
};

// The client area of the main window, below its menu bar.
inline constexpr int kMainClientWidth = 378;
inline constexpr int kMainClientHeight = 308;

// Every control, in the order of its role.
inline constexpr std::array<ControlPlace, kMainControlCount> kMainWindowControls = [] {
    using enum MainControl;
    using enum ControlKind;
    using enum CharacterFilter;
    return std::array<ControlPlace, kMainControlCount>{{
        {SizePanel, "Picture1", Panel, kClientArea, 8, 8, 121, 217, ""},
        {LayoutPanel, "Picture2", Panel, SizePanel, 56, 144, 73, 41, ""},
        {ModePanel, "Picture3", Panel, kClientArea, 136, 8, 73, 81, ""},
        {BubblePanel, "Picture4", Panel, kClientArea, 136, 96, 73, 169, ""},
        {EyePanel, "Picture5", Panel, kClientArea, 216, 8, 41, 132, ""},
        {ColourPanel, "Picture6", Panel, kClientArea, 264, 8, 105, 81, ""},

        {SizeQvga, "Option1(0)", Option, SizePanel, 0, 0, 121, 17, "QVGA( 240* 320)"},
        {SizeVga, "Option1(1)", Option, SizePanel, 0, 16, 121, 17, "VGA ( 640* 480)"},
        {SizeXga, "Option1(2)", Option, SizePanel, 0, 32, 121, 17, "XGA (1024* 768)"},
        {SizeWxga, "Option1(3)", Option, SizePanel, 0, 48, 121, 17, "WXGA(1280* 800)"},
        {SizeUxga, "Option1(4)", Option, SizePanel, 0, 64, 121, 17, "UXGA(1600*1200)"},
        {SizeLabel, "Label1(0)", Label, SizePanel, 8, 88, 70, 12,
         QT_TRANSLATE_NOOP("tidepool::MainWindow", "画像のサイズ")},
        {Width, "Text1(0)", Text, SizePanel, 8, 104, 41, 18, "", 4, Digits},
        {TimesLabel, "Label1(1)", Label, SizePanel, 51, 108, 12, 12, "×"},
        {Height, "Text1(1)", Text, SizePanel, 64, 104, 41, 18, "", 4, Digits},
        {MagnificationLabel, "Label1(2)", Label, SizePanel, 8, 128, 24, 12,
         QT_TRANSLATE_NOOP("tidepool::MainWindow", "倍率")},
        {Magnification, "Text2(0)", Text, SizePanel, 8, 144, 41, 18, "", 4, DigitsAndPoint},
        {LayoutLabel, "Label1(3)", Label, SizePanel, 56, 128, 24, 12,
         QT_TRANSLATE_NOOP("tidepool::MainWindow", "位置")},
        {LayoutStandard, "Option3(0)", Option, LayoutPanel, 0, 0, 73, 17,
         QT_TRANSLATE_NOOP("tidepool::MainWindow", "標準")},
        {LayoutSlide, "Option3(1)", Option, LayoutPanel, 0, 16, 73, 17,
         QT_TRANSLATE_NOOP("tidepool::MainWindow", "スライド")},
        {SpacingLabel, "Label1(4)", Label, SizePanel, 8, 168, 24, 12,
         QT_TRANSLATE_NOOP("tidepool::MainWindow", "間隔")},
        {Spacing, "Text2(1)", Text, SizePanel, 8, 184, 41, 18, "", 4, DigitsAndPoint},

        {NormalMode, "Option4(0)", Option, ModePanel, 0, 0, 65, 17,
         QT_TRANSLATE_NOOP("tidepool::MainWindow", "ノーマル")},
        {FrameMode, "Option4(1)", Option, ModePanel, 0, 16, 65, 17,
         QT_TRANSLATE_NOOP("tidepool::MainWindow", "フレーム")},
        {CrabShadow, "Check3(0)", Check, ModePanel, 0, 36, 41, 12,
         QT_TRANSLATE_NOOP("tidepool::MainWindow", "影")},
        {ShadowWidthLabel, "Label1(5)", Label, ModePanel, 2, 60, 36, 12,
         QT_TRANSLATE_NOOP("tidepool::MainWindow", "影の幅")},
        {ShadowWidth, "Text4", Text, ModePanel, 40, 56, 25, 18, "", 3, DigitsAndPoint},

        {NoBubbles, "Option5(0)", Option, BubblePanel, 0, 0, 65, 17,
         QT_TRANSLATE_NOOP("tidepool::MainWindow", "泡無し")},
        {WithBubbles, "Option5(1)", Option, BubblePanel, 0, 16, 65, 17,
         QT_TRANSLATE_NOOP("tidepool::MainWindow", "泡有り")},
        {BubbleSpacingLabel, "Label1(6)", Label, BubblePanel, 8, 44, 24, 12,
         QT_TRANSLATE_NOOP("tidepool::MainWindow", "間隔")},
        {BubbleSpacing, "Text5(0)", Text, BubblePanel, 40, 40, 25, 18, "", 3, DigitsAndPoint},
        {BubbleShadow, "Check3(1)", Check, BubblePanel, 0, 68, 41, 12,
         QT_TRANSLATE_NOOP("tidepool::MainWindow", "影")},
        {BubbleCrabColour, "Check3(2)", Check, BubblePanel, 0, 84, 41, 12,
         QT_TRANSLATE_NOOP("tidepool::MainWindow", "色")},
        {BubbleShiftLabel, "Label1(7)", Label, BubblePanel, 3, 104, 65, 12,
         QT_TRANSLATE_NOOP("tidepool::MainWindow", "描画のシフト")},
        {BubbleShiftNote, "Label1(10)", Label, BubblePanel, 3, 120, 63, 12,
         QT_TRANSLATE_NOOP("tidepool::MainWindow", "(マイナス可)")},
        {BubbleShiftX, "Text5(1)", Text, BubblePanel, 4, 136, 25, 18, "", 3, DigitsAndMinus},
        {BubbleShiftDash, "Label1(8)", Label, BubblePanel, 29, 140, 12, 12, "－"},
        {BubbleShiftY, "Text5(2)", Text, BubblePanel, 40, 136, 25, 18, "", 3, DigitsAndMinus},

        {EyeRound, "Check2(0)", Check, EyePanel, 0, 0, 33, 17, "○"},
        {EyeLine, "Check2(1)", Check, EyePanel, 0, 16, 33, 17, "－"},
        {EyeCross, "Check2(2)", Check, EyePanel, 0, 32, 33, 17, "×"},
        {EyeCap, "Check2(3)", Check, EyePanel, 0, 48, 33, 17, "∩"},
        {EyeCup, "Check2(4)", Check, EyePanel, 0, 64, 33, 17, "∪"},
        {EyeShiftLabel, "Label1(9)", Label, EyePanel, 4, 88, 29, 12,
         QT_TRANSLATE_NOOP("tidepool::MainWindow", "シフト")},
        {EyeShift, "Text6", Text, EyePanel, 11, 104, 17, 18, "", 1, Digits},

        {ForegroundOption, "Option6(0)", Option, ColourPanel, 0, 0, 65, 17,
         QT_TRANSLATE_NOOP("tidepool::MainWindow", "前景色")},
        {MiddleOption, "Option6(1)", Option, ColourPanel, 0, 16, 65, 17,
         QT_TRANSLATE_NOOP("tidepool::MainWindow", "中間色")},
        {BackgroundOption, "Option6(2)", Option, ColourPanel, 0, 32, 65, 17,
         QT_TRANSLATE_NOOP("tidepool::MainWindow", "背景色")},
        {ForegroundSwatch, "Picture7(0)", Swatch, ColourPanel, 64, 0, 33, 17, ""},
        {MiddleSwatch, "Picture7(1)", Swatch, ColourPanel, 64, 16, 33, 17, ""},
        {BackgroundSwatch, "Picture7(2)", Swatch, ColourPanel, 64, 32, 33, 17, ""},
        {FixedColours, "Check1", Check, ColourPanel, 0, 56, 105, 12,
         QT_TRANSLATE_NOOP("tidepool::MainWindow", "固定色で描画")},

        {Themes, "List1", List, kClientArea, 264, 96, 105, 172, ""},
        {Draw, "Command1", Button, kClientArea, 216, 152, 41, 113,
         QT_TRANSLATE_NOOP("tidepool::MainWindow", "描画(&G)")},
        {NoPicture, "Option2(0)", Option, kClientArea, 8, 240, 97, 20,
         QT_TRANSLATE_NOOP("tidepool::MainWindow", "ピクチャ無し")},
        {UsePicture, "Option2(1)", Option, kClientArea, 8, 256, 97, 20,
         QT_TRANSLATE_NOOP("tidepool::MainWindow", "ピクチャ使用")},
        {PicturePath, "Text3", Text, kClientArea, 8, 280, 297, 18, ""},
        {Browse, "Command2", Button, kClientArea, 312, 280, 57, 17,
         QT_TRANSLATE_NOOP("tidepool::MainWindow", "参照(&B)")},
    }};
}();

constexpr const ControlPlace& PlaceOf(MainControl role) {
    return kMainWindowControls[static_cast<std::size_t>(role)];
}

constexpr bool InventoryKeyedByRole() {
    for (std::size_t i = 0; i < kMainWindowControls.size(); ++i)
        if (static_cast<std::size_t>(kMainWindowControls[i].role) != i)
            return false;
    return true;
}
static_assert(InventoryKeyedByRole(), "each control's row stands at its role");

// The order in which Tab visits the controls that take input.
inline constexpr auto kMainWindowTabOrder = [] {
    using enum MainControl;
    return std::array{
        SizeQvga,         SizeVga,          SizeXga,
        SizeWxga,         SizeUxga,         Width,
        Height,           Magnification,    Spacing,
        LayoutStandard,   LayoutSlide,      NoPicture,
        UsePicture,       PicturePath,      Browse,
        NormalMode,       FrameMode,        CrabShadow,
        ShadowWidth,      NoBubbles,        WithBubbles,
        BubbleSpacing,    BubbleShadow,     BubbleCrabColour,
        BubbleShiftX,     BubbleShiftY,     EyeRound,
        EyeLine,          EyeCross,         EyeCap,
        EyeCup,           EyeShift,         Draw,
        ForegroundOption, MiddleOption,     BackgroundOption,
        FixedColours,     Themes,           ForegroundSwatch,
        MiddleSwatch,     BackgroundSwatch,
    };
}();

// What a screen reader reads for a control that shows no caption of its own: the label beside
// it, made its buddy, or where the label is shared or there is none, a name of its own, written
// in Japanese and read in the application's language.
struct Buddy {
    MainControl control;
    MainControl label;
};
struct OwnName {
    MainControl control;
    std::string_view name;
};

inline constexpr auto kMainWindowBuddies = [] {
    using enum MainControl;
    return std::array<Buddy, 4>{{
        {Magnification, MagnificationLabel},
        {Spacing, SpacingLabel},
        {ShadowWidth, ShadowWidthLabel},
        {EyeShift, EyeShiftLabel},
    }};
}();

// Width and height share "画像のサイズ", the two shift fields "描画のシフト"; the bubbles' spacing
// would read as the crabs' "間隔"; the swatches are named by the options beside them. The shadow
// width's label reads the same as its name in Japanese, but is shorter than it in English.
inline constexpr auto kMainWindowOwnNames = [] {
    using enum MainControl;
    return std::array<OwnName, 11>{{
        {Width, QT_TRANSLATE_NOOP("tidepool::AccessibleNames", "画像のサイズ（幅）")},
        {Height, QT_TRANSLATE_NOOP("tidepool::AccessibleNames", "画像のサイズ（高さ）")},
        {ShadowWidth, QT_TRANSLATE_NOOP("tidepool::AccessibleNames", "影の幅")},
        {BubbleSpacing, QT_TRANSLATE_NOOP("tidepool::AccessibleNames", "泡の間隔")},
        {BubbleShiftX, QT_TRANSLATE_NOOP("tidepool::AccessibleNames", "描画のシフト（横）")},
        {BubbleShiftY, QT_TRANSLATE_NOOP("tidepool::AccessibleNames", "描画のシフト（縦）")},
        {PicturePath, QT_TRANSLATE_NOOP("tidepool::AccessibleNames", "ピクチャのファイル")},
        {Themes, QT_TRANSLATE_NOOP("tidepool::AccessibleNames", "テーマ")},
        {ForegroundSwatch, QT_TRANSLATE_NOOP("tidepool::AccessibleNames", "前景色")},
        {MiddleSwatch, QT_TRANSLATE_NOOP("tidepool::AccessibleNames", "中間色")},
        {BackgroundSwatch, QT_TRANSLATE_NOOP("tidepool::AccessibleNames", "背景色")},
    }};
}();

} // namespace tidepool
