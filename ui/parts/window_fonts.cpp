#include "ui/parts/window_fonts.h"

#include <QStringList>

namespace tidepool {

namespace {

// 9 points at 96 dpi. The layout is fixed in pixels, so the text is too.
constexpr int kFontPixels = 12;

// Proportional and fixed-pitch Japanese Gothic families found on Linux desktops.
const QStringList kProportionalGothic{"IPAPGothic", "Noto Sans CJK JP", "VL PGothic",
                                      "TakaoPGothic", "IPAGothic"};
const QStringList kControlFamilies{"ＭＳ Ｐゴシック", "MS PGothic"};
const QStringList kFixedPitchGothic{"IPAGothic", "Noto Sans Mono CJK JP", "VL Gothic",
                                    "TakaoGothic"};

QFont FontOf(const QStringList& families, const QStringList& fallbacks, QFont::StyleHint hint) {
    QFont font;
    font.setFamilies(families + fallbacks);
    font.setPixelSize(kFontPixels);
    font.setStyleHint(hint);
    return font;
}

} // namespace

QFont WindowFont() {
    return FontOf({"MS UI Gothic"}, kProportionalGothic, QFont::SansSerif);
}

QFont ControlFont() {
    return FontOf(kControlFamilies, kProportionalGothic, QFont::SansSerif);
}

QFont NumberFieldFont() {
    return FontOf(kControlFamilies, kFixedPitchGothic, QFont::SansSerif);
}

QFont FixedPitchFont() {
    QFont font = FontOf({"ＭＳ ゴシック", "MS Gothic"}, kFixedPitchGothic, QFont::Monospace);
    font.setFixedPitch(true);
    return font;
}

} // namespace tidepool
