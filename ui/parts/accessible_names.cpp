#include "ui/parts/accessible_names.h"

#include <QCoreApplication>
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

// A control and a name of its own, where its label is shared with another control or missing,
// written in Japanese and read in the application's language.
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
// would read as the crabs' "間隔"; the swatches are named by the options beside them. The shadow
// width's label reads the same as its name in Japanese, but is shorter than it in English.
constexpr std::array<OwnName, 11> kMainNames{{
    {"Text1(0)", QT_TRANSLATE_NOOP("tidepool::AccessibleNames", "画像のサイズ（幅）")},
    {"Text1(1)", QT_TRANSLATE_NOOP("tidepool::AccessibleNames", "画像のサイズ（高さ）")},
    {"Text4", QT_TRANSLATE_NOOP("tidepool::AccessibleNames", "影の幅")},
    {"Text5(0)", QT_TRANSLATE_NOOP("tidepool::AccessibleNames", "泡の間隔")},
    {"Text5(1)", QT_TRANSLATE_NOOP("tidepool::AccessibleNames", "描画のシフト（横）")},
    {"Text5(2)", QT_TRANSLATE_NOOP("tidepool::AccessibleNames", "描画のシフト（縦）")},
    {"Text3", QT_TRANSLATE_NOOP("tidepool::AccessibleNames", "ピクチャのファイル")},
    {"List1", QT_TRANSLATE_NOOP("tidepool::AccessibleNames", "テーマ")},
    {"Picture7(0)", QT_TRANSLATE_NOOP("tidepool::AccessibleNames", "前景色")},
    {"Picture7(1)", QT_TRANSLATE_NOOP("tidepool::AccessibleNames", "中間色")},
    {"Picture7(2)", QT_TRANSLATE_NOOP("tidepool::AccessibleNames", "背景色")},
}};

constexpr std::array<Buddy, 4> kFixedColourBuddies{{
    {"Picture1(0)", "Label1(0)"}, // ボディ
    {"Picture1(1)", "Label1(1)"}, // 模様
    {"Picture1(2)", "Label1(2)"}, // 目
    {"Picture1(3)", "Label1(3)"}, // 泡
}};

constexpr std::array<OwnName, 1> kFixedColourNames{
    {{"Picture2", QT_TRANSLATE_NOOP("tidepool::AccessibleNames", "見本")}}};

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
            control->setAccessibleName(
                QCoreApplication::translate("tidepool::AccessibleNames", n.name.data()));
}

} // namespace

void NameMainWindowControls(QWidget* client) {
    Name(client, kMainBuddies, kMainNames);
}

void NameFixedColourControls(QWidget* dialog) {
    Name(dialog, kFixedColourBuddies, kFixedColourNames);
}

} // namespace tidepool
