#include "render/settings/theme_table.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace tidepool {
namespace {

// Every entry as the program carries it: the 20 themes of the list, then the two frame entries.
const std::array<ColourTheme, 22> kThemes{{
    {"ノーマル", 0, 0x0000FF, 0xC0C0C0, 0xFFFFFF},
    {"ウォーター", 0, 0x808000, 0xC0C000, 0xFFFF00},
    {"ライトグリーン", 0, 0xA9C8A2, 0xD3E3D0, 0xFFFFFF},
    {"ブルーＡ", 0, 0xFF0000, 0xFF8080, 0xFFC0C0},
    {"ブルーＢ", 0, 0x906800, 0xDDA000, 0xE8B54C},
    {"ワイン", 0, 0x8D4D5D, 0xB07F8E, 0xD399AD},
    {"アースカラー", 0, 0x688DA2, 0xBBCCD5, 0xDDE6EA},
    {"アイスグリーン", 0, 0x649759, 0xA9C8A2, 0xD3E3D0},
    {"バカンス", 0, 0x889048, 0xB8C088, 0xD8E0C8},
    {"パンプキン", 0, 0x2FA5D7, 0x9DD5EC, 0xCFEAF5},
    {"ピクニック", 0, 0x41BCBC, 0xA0DEDE, 0xD0EEEE},
    {"プラム", 0, 0x586078, 0x9098A8, 0xC8D0D8},
    {"ブルーグレー", 0, 0x978055, 0xC8B99D, 0xE3DCCE},
    {"メープル", 0, 0x46A6C6, 0xAED8E6, 0xD7ECF2},
    {"モダンパープル", 0, 0x788058, 0xA8B090, 0xD8D8C8},
    {"ライラック", 0, 0xB14E5A, 0xD9A8AE, 0xECD5D8},
    {"レイニーブルー", 0, 0x7D654F, 0xB19983, 0xD9CCC1},
    {"ローズ", 0, 0x70609F, 0xB7AFCF, 0xDCD8E7},
    {"ワインレッド", 0, 0x61898D, 0xA5BFC2, 0xD2E0E1},
    {"システム", 0, 0x8000000D, 0x8000000F, 0x80000014},
    {"フレーム", 3, 0xFFFFFF, 0x000000, 0x000000},
    {"反転フレーム", 4, 0x000000, 0xFFFFFF, 0xFFFFFF},
}};

TEST(ThemeTableTest, HoldsEveryThemeWithItsColoursInListOrder) {
    const ThemeTable table = BuildThemeTable();
    ASSERT_EQ(table.ThemeCount, 22);
    for (int i = 1; i <= table.ThemeCount; ++i) {
        const ColourTheme& expected = kThemes[static_cast<std::size_t>(i - 1)];
        const ColourTheme& entry = table[i];
        EXPECT_EQ(entry.Name, expected.Name) << "theme " << i;
        EXPECT_EQ(entry.Kind, expected.Kind) << expected.Name;
        EXPECT_EQ(entry.Foreground, expected.Foreground) << expected.Name;
        EXPECT_EQ(entry.Middle, expected.Middle) << expected.Name;
        EXPECT_EQ(entry.Background, expected.Background) << expected.Name;
    }
}

TEST(ThemeTableTest, ListsTheTwentyThemesButNotTheFrameEntries) {
    const std::vector<std::string> names = BuildThemeTable().listNames();
    ASSERT_EQ(names.size(), 20u);
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(names[i], kThemes[i].Name);
}

} // namespace
} // namespace tidepool
