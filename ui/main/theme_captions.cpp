#include "ui/main/theme_captions.h"

#include <QCoreApplication>

#include <array>
#include <string>

namespace tidepool {

namespace {

// The names of the ordinary themes, in list order, for the translations to find: the engine's
// table holds them without knowing of any language but its own.
[[maybe_unused]] constexpr std::array<const char*, 20> kThemeNames{
    QT_TRANSLATE_NOOP("tidepool::ThemeList", "ノーマル"),
    QT_TRANSLATE_NOOP("tidepool::ThemeList", "ウォーター"),
    QT_TRANSLATE_NOOP("tidepool::ThemeList", "ライトグリーン"),
    QT_TRANSLATE_NOOP("tidepool::ThemeList", "ブルーＡ"),
    QT_TRANSLATE_NOOP("tidepool::ThemeList", "ブルーＢ"),
    QT_TRANSLATE_NOOP("tidepool::ThemeList", "ワイン"),
    QT_TRANSLATE_NOOP("tidepool::ThemeList", "アースカラー"),
    QT_TRANSLATE_NOOP("tidepool::ThemeList", "アイスグリーン"),
    QT_TRANSLATE_NOOP("tidepool::ThemeList", "バカンス"),
    QT_TRANSLATE_NOOP("tidepool::ThemeList", "パンプキン"),
    QT_TRANSLATE_NOOP("tidepool::ThemeList", "ピクニック"),
    QT_TRANSLATE_NOOP("tidepool::ThemeList", "プラム"),
    QT_TRANSLATE_NOOP("tidepool::ThemeList", "ブルーグレー"),
    QT_TRANSLATE_NOOP("tidepool::ThemeList", "メープル"),
    QT_TRANSLATE_NOOP("tidepool::ThemeList", "モダンパープル"),
    QT_TRANSLATE_NOOP("tidepool::ThemeList", "ライラック"),
    QT_TRANSLATE_NOOP("tidepool::ThemeList", "レイニーブルー"),
    QT_TRANSLATE_NOOP("tidepool::ThemeList", "ローズ"),
    QT_TRANSLATE_NOOP("tidepool::ThemeList", "ワインレッド"),
    QT_TRANSLATE_NOOP("tidepool::ThemeList", "システム"),
};

} // namespace

QString ThemeCaption(std::string_view name) {
    return QCoreApplication::translate("tidepool::ThemeList", std::string(name).c_str());
}

} // namespace tidepool
