#pragma once

#include <QFont>

namespace tidepool {

// The three fonts of the main window, 9 points at 96 dpi. Each names the desktop's own Japanese
// family first and then Japanese Gothic families a Linux desktop has, so every caption renders
// wherever the program runs.
QFont WindowFont();     // the window itself and its menu bar
QFont ControlFont();    // every control but the size presets
QFont FixedPitchFont(); // the size presets, whose blank-padded numbers line up
// The numeric fields: the control font's own family first, then half-width digits, so that three
// characters fit a field 25 pixels wide.
QFont NumberFieldFont();

} // namespace tidepool
