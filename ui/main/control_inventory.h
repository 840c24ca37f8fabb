#pragma once

#include <QtGlobal>

#include <array>
#include <string_view>

namespace tidepool {

enum class ControlKind { Panel, Option, Check, Label, Text, List, Button, Swatch };

// One control of the main window: its name (its objectName), what it is, the panel it sits on
// (empty for the client area), its place in pixels relative to that panel, its caption and, for
// a text field, its maximum length (0 for none). Captions in words are marked for translation;
// the size presets and the symbols read the same in every language.
struct ControlPlace {
    std::string_view name;
    ControlKind kind;
    std::string_view container;
    int x, y, width, height;
    std::string_view caption;
    int maxLength = 0;
};

// The client area of the main window, below its menu bar.
inline constexpr int kMainClientWidth = 378;
inline constexpr int kMainClientHeight = 308;

// Every control, each panel before what it holds.
inline constexpr std::array<ControlPlace, 58> kMainWindowControls{{
    {"Picture1", ControlKind::Panel, "", 8, 8, 121, 217, ""},
    {"Picture2", ControlKind::Panel, "Picture1", 56, 144, 73, 41, ""},
    {"Picture3", ControlKind::Panel, "", 136, 8, 73, 81, ""},
    {"Picture4", ControlKind::Panel, "", 136, 96, 73, 169, ""},
    {"Picture5", ControlKind::Panel, "", 216, 8, 41, 132, ""},
    {"Picture6", ControlKind::Panel, "", 264, 8, 105, 81, ""},

    {"Option1(0)", ControlKind::Option, "Picture1", 0, 0, 121, 17, "QVGA( 240* 320)"},
    {"Option1(1)", ControlKind::Option, "Picture1", 0, 16, 121, 17, "VGA ( 640* 480)"},
    {"Option1(2)", ControlKind::Option, "Picture1", 0, 32, 121, 17, "XGA (1024* 768)"},
    {"Option1(3)", ControlKind::Option, "Picture1", 0, 48, 121, 17, "WXGA(1280* 800)"},
    {"Option1(4)", ControlKind::Option, "Picture1", 0, 64, 121, 17, "UXGA(1600*1200)"},
    {"Label1(0)", ControlKind::Label, "Picture1", 8, 88, 70, 12,
     QT_TRANSLATE_NOOP("tidepool::MainWindow", "画像のサイズ")},
    {"Text1(0)", ControlKind::Text, "Picture1", 8, 104, 41, 18, "", 4},
    {"Label1(1)", ControlKind::Label, "Picture1", 51, 108, 12, 12, "×"},
    {"Text1(1)", ControlKind::Text, "Picture1", 64, 104, 41, 18, "", 4},
    {"Label1(2)", ControlKind::Label, "Picture1", 8, 128, 24, 12,
     QT_TRANSLATE_NOOP("tidepool::MainWindow", "倍率")},
    {"Text2(0)", ControlKind::Text, "Picture1", 8, 144, 41, 18, "", 4},
    {"Label1(3)", ControlKind::Label, "Picture1", 56, 128, 24, 12,
     QT_TRANSLATE_NOOP("tidepool::MainWindow", "位置")},
    {"Option3(0)", ControlKind::Option, "Picture2", 0, 0, 73, 17,
     QT_TRANSLATE_NOOP("tidepool::MainWindow", "標準")},
    {"Option3(1)", ControlKind::Option, "Picture2", 0, 16, 73, 17,
     QT_TRANSLATE_NOOP("tidepool::MainWindow", "スライド")},
    {"Label1(4)", ControlKind::Label, "Picture1", 8, 168, 24, 12,
     QT_TRANSLATE_NOOP("tidepool::MainWindow", "間隔")},
    {"Text2(1)", ControlKind::Text, "Picture1", 8, 184, 41, 18, "", 4},

    {"Option4(0)", ControlKind::Option, "Picture3", 0, 0, 65, 17,
     QT_TRANSLATE_NOOP("tidepool::MainWindow", "ノーマル")},
    {"Option4(1)", ControlKind::Option, "Picture3", 0, 16, 65, 17,
     QT_TRANSLATE_NOOP("tidepool::MainWindow", "フレーム")},
    {"Check3(0)", ControlKind::Check, "Picture3", 0, 36, 41, 12,
     QT_TRANSLATE_NOOP("tidepool::MainWindow", "影")},
    {"Label1(5)", ControlKind::Label, "Picture3", 2, 60, 36, 12,
     QT_TRANSLATE_NOOP("tidepool::MainWindow", "影の幅")},
    {"Text4", ControlKind::Text, "Picture3", 40, 56, 25, 18, "", 3},

    {"Option5(0)", ControlKind::Option, "Picture4", 0, 0, 65, 17,
     QT_TRANSLATE_NOOP("tidepool::MainWindow", "泡無し")},
    {"Option5(1)", ControlKind::Option, "Picture4", 0, 16, 65, 17,
     QT_TRANSLATE_NOOP("tidepool::MainWindow", "泡有り")},
    {"Label1(6)", ControlKind::Label, "Picture4", 8, 44, 24, 12,
     QT_TRANSLATE_NOOP("tidepool::MainWindow", "間隔")},
    {"Text5(0)", ControlKind::Text, "Picture4", 40, 40, 25, 18, "", 3},
    {"Check3(1)", ControlKind::Check, "Picture4", 0, 68, 41, 12,
     QT_TRANSLATE_NOOP("tidepool::MainWindow", "影")},
    {"Check3(2)", ControlKind::Check, "Picture4", 0, 84, 41, 12,
     QT_TRANSLATE_NOOP("tidepool::MainWindow", "色")},
    {"Label1(7)", ControlKind::Label, "Picture4", 3, 104, 65, 12,
     QT_TRANSLATE_NOOP("tidepool::MainWindow", "描画のシフト")},
    {"Label1(10)", ControlKind::Label, "Picture4", 3, 120, 63, 12,
     QT_TRANSLATE_NOOP("tidepool::MainWindow", "(マイナス可)")},
    {"Text5(1)", ControlKind::Text, "Picture4", 4, 136, 25, 18, "", 3},
    {"Label1(8)", ControlKind::Label, "Picture4", 29, 140, 12, 12, "－"},
    {"Text5(2)", ControlKind::Text, "Picture4", 40, 136, 25, 18, "", 3},

    {"Check2(0)", ControlKind::Check, "Picture5", 0, 0, 33, 17, "○"},
    {"Check2(1)", ControlKind::Check, "Picture5", 0, 16, 33, 17, "－"},
    {"Check2(2)", ControlKind::Check, "Picture5", 0, 32, 33, 17, "×"},
    {"Check2(3)", ControlKind::Check, "Picture5", 0, 48, 33, 17, "∩"},
    {"Check2(4)", ControlKind::Check, "Picture5", 0, 64, 33, 17, "∪"},
    {"Label1(9)", ControlKind::Label, "Picture5", 4, 88, 29, 12,
     QT_TRANSLATE_NOOP("tidepool::MainWindow", "シフト")},
    {"Text6", ControlKind::Text, "Picture5", 11, 104, 17, 18, "", 1},

    {"Option6(0)", ControlKind::Option, "Picture6", 0, 0, 65, 17,
     QT_TRANSLATE_NOOP("tidepool::MainWindow", "前景色")},
    {"Option6(1)", ControlKind::Option, "Picture6", 0, 16, 65, 17,
     QT_TRANSLATE_NOOP("tidepool::MainWindow", "中間色")},
    {"Option6(2)", ControlKind::Option, "Picture6", 0, 32, 65, 17,
     QT_TRANSLATE_NOOP("tidepool::MainWindow", "背景色")},
    {"Picture7(0)", ControlKind::Swatch, "Picture6", 64, 0, 33, 17, ""},
    {"Picture7(1)", ControlKind::Swatch, "Picture6", 64, 16, 33, 17, ""},
    {"Picture7(2)", ControlKind::Swatch, "Picture6", 64, 32, 33, 17, ""},
    {"Check1", ControlKind::Check, "Picture6", 0, 56, 105, 12,
     QT_TRANSLATE_NOOP("tidepool::MainWindow", "固定色で描画")},

    {"List1", ControlKind::List, "", 264, 96, 105, 172, ""},
    {"Command1", ControlKind::Button, "", 216, 152, 41, 113,
     QT_TRANSLATE_NOOP("tidepool::MainWindow", "描画(&G)")},
    {"Option2(0)", ControlKind::Option, "", 8, 240, 97, 20,
     QT_TRANSLATE_NOOP("tidepool::MainWindow", "ピクチャ無し")},
    {"Option2(1)", ControlKind::Option, "", 8, 256, 97, 20,
     QT_TRANSLATE_NOOP("tidepool::MainWindow", "ピクチャ使用")},
    {"Text3", ControlKind::Text, "", 8, 280, 297, 18, ""},
    {"Command2", ControlKind::Button, "", 312, 280, 57, 17,
     QT_TRANSLATE_NOOP("tidepool::MainWindow", "参照(&B)")},
}};

// The order in which Tab visits the controls that take input.
inline constexpr std::array<std::string_view, 41> kMainWindowTabOrder{
    "Option1(0)", "Option1(1)", "Option1(2)",  "Option1(3)",  "Option1(4)",  "Text1(0)",
    "Text1(1)",   "Text2(0)",   "Text2(1)",    "Option3(0)",  "Option3(1)",  "Option2(0)",
    "Option2(1)", "Text3",      "Command2",    "Option4(0)",  "Option4(1)",  "Check3(0)",
    "Text4",      "Option5(0)", "Option5(1)",  "Text5(0)",    "Check3(1)",   "Check3(2)",
    "Text5(1)",   "Text5(2)",   "Check2(0)",   "Check2(1)",   "Check2(2)",   "Check2(3)",
    "Check2(4)",  "Text6",      "Command1",    "Option6(0)",  "Option6(1)",  "Option6(2)",
    "Check1",     "List1",      "Picture7(0)", "Picture7(1)", "Picture7(2)",
};

} // namespace tidepool
