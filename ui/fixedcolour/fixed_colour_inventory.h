#pragma once

#include <QRect>
#include <QtGlobal>

#include <array>
#include <string_view>

namespace tidepool {

// The fixed-colour dialog's controls: their objectNames, by which tests and screen readers find
// them, and their places in pixels in the dialog's client area.

inline constexpr int kFixedColourClientWidth = 233;
inline constexpr int kFixedColourClientHeight = 138;

// One fixed colour's row: its label, which names the swatch beside it for screen readers, and
// its swatch.
struct SwatchRow {
    std::string_view labelName;
    const char* label;
    QRect labelPlace;
    std::string_view swatchName;
    QRect swatchPlace;
};

// In fixed-colour order: body, pattern, eyes, bubbles.
inline constexpr std::array<SwatchRow, 4> kSwatchRows{{
    {"Label1(0)",
     QT_TRANSLATE_NOOP("tidepool::FixedColourDialog", "ボディ"),
     {144, 12, 31, 12},
     "Picture1(0)",
     {192, 8, 33, 17}},
    {"Label1(1)",
     QT_TRANSLATE_NOOP("tidepool::FixedColourDialog", "模様"),
     {144, 29, 24, 12},
     "Picture1(1)",
     {192, 24, 33, 17}},
    {"Label1(2)",
     QT_TRANSLATE_NOOP("tidepool::FixedColourDialog", "目"),
     {144, 44, 12, 12},
     "Picture1(2)",
     {192, 40, 33, 17}},
    {"Label1(3)",
     QT_TRANSLATE_NOOP("tidepool::FixedColourDialog", "泡"),
     {144, 60, 12, 12},
     "Picture1(3)",
     {192, 56, 33, 17}},
}};

// The sample crab, which has no label: a screen reader reads this name for it.
inline constexpr std::string_view kSampleBoxName = "Picture2";
inline constexpr const char* kSampleBoxAccessibleName =
    QT_TRANSLATE_NOOP("tidepool::AccessibleNames", "見本");
inline constexpr QRect kSamplePlace{8, 8, 121, 121};

inline constexpr std::string_view kOkButtonName = "Command1(0)";
inline constexpr QRect kOkPlace{136, 80, 89, 25};
inline constexpr std::string_view kCancelButtonName = "Command1(1)";
inline constexpr QRect kCancelPlace{136, 104, 89, 25};

} // namespace tidepool
