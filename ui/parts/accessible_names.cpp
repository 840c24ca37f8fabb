#include "ui/parts/accessible_names.h"

#include <QLabel>
#include <QWidget>

#include <array>
#include <string_view>

namespace tidepool {

namespace {

// A control and the label beside it that names it.
struct Buddy {
    std::string_view control;
    std::string_view label;
};

// A control and a name of its own, where its label is shared with another control or missing.
struct OwnName {
    std::string_view control;
    std::string_view name;
};

constexpr std::array<Buddy, 4> kMainBuddies{{
    {"Text2(0)", "Label1(2)"}, // 倍率
    {"Text2(1)", "Label1(4)"}, // 間隔
    {"Text4", "Label1(5)"},    // 影の幅
    {"Text6", "Label1(9)"},    // シフト
}};

// Width and height share "画像のサイズ", the two shift fields "描画のシフト"; the bubbles' spacing
// would read as the crabs' "間隔"; the swatches are named by the options beside them.
constexpr std::array<OwnName, 10> kMainNames{{
    {"Text1(0)", "画像のサイズ（幅）"},
    {"Text1(1)", "画像のサイズ（高さ）"},
    {"Text5(0)", "泡の間隔"},
    {"Text5(1)", "描画のシフト（横）"},
    {"Text5(2)", "描画のシフト（縦）"},
    {"Text3", "ピクチャのファイル"},
    {"List1", "テーマ"},
    {"Picture7(0)", "前景色"},
    {"Picture7(1)", "中間色"},
    {"Picture7(2)", "背景色"},
}};

constexpr std::array<Buddy, 4> kFixedColourBuddies{{
    {"Picture1(0)", "Label1(0)"}, // ボディ
    {"Picture1(1)", "Label1(1)"}, // 模様
    {"Picture1(2)", "Label1(2)"}, // 目
    {"Picture1(3)", "Label1(3)"}, // 泡
}};

constexpr std::array<OwnName, 1> kFixedColourNames{{{"Picture2", "見本"}}};

template <typename Widget> Widget* Named(QWidget* parent, std::string_view name) {
    return parent->findChild<Widget*>(QString::fromUtf8(name.data(), name.size()));
}

template <std::size_t B, std::size_t N>
void Name(QWidget* parent, const std::array<Buddy, B>& buddies,
          const std::array<OwnName, N>& names) {
    for (const Buddy& b : buddies) {
        auto* label = Named<QLabel>(parent, b.label);
        auto* control = Named<QWidget>(parent, b.control);
        if (label != nullptr && control != nullptr)
            label->setBuddy(control);
    }
    for (const OwnName& n : names)
        if (auto* control = Named<QWidget>(parent, n.control))
            control->setAccessibleName(QString::fromUtf8(n.name.data(), n.name.size()));
}

} // namespace

void NameMainWindowControls(QWidget* client) {
    Name(client, kMainBuddies, kMainNames);
}

void NameFixedColourControls(QWidget* dialog) {
    Name(dialog, kFixedColourBuddies, kFixedColourNames);
}

} // namespace tidepool
