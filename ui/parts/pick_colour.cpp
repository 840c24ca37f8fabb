#include "ui/parts/pick_colour.h"

#include "ui/parts/qt_colour.h"

#include <QColorDialog>

namespace tidepool {

std::int32_t PickColour(QWidget* owner, Colour initial, const SystemPalette& palette) {
    // Custom colours live in the application as a whole; nothing the user defined in an earlier
    // call is offered again.
    for (int i = 0; i < QColorDialog::customCount(); ++i)
        QColorDialog::setCustomColor(i, QColor(Qt::black));

    const QColor chosen = QColorDialog::getColor(ToQColor(palette.resolve(initial)), owner);
    if (!chosen.isValid())
        return kColourCancelled;
    return static_cast<std::int32_t>(FromQColor(chosen));
}

} // namespace tidepool
