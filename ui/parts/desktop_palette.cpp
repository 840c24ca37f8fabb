#include "ui/parts/desktop_palette.h"

#include "ui/parts/qt_colour.h"

#include <QPalette>

namespace tidepool {

SystemPalette DesktopPalette(const QPalette& palette) {
    SystemPalette p = SystemPalette::defaults();
    p.colours[SystemPalette::kHighlight] = FromQColor(palette.color(QPalette::Highlight));
    p.colours[SystemPalette::kButtonFace] = FromQColor(palette.color(QPalette::Button));
    p.colours[SystemPalette::kButtonHighlight] = FromQColor(palette.color(QPalette::Light));
    return p;
}

} // namespace tidepool
