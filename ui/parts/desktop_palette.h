#pragma once

#include "render/settings/colour.h"

class QPalette;

namespace tidepool {

// The desktop's system colours as the swatches and the drawing job see them: 13 the selection
// highlight, 15 the button face and 20 the button's lit edge, taken from the widget palette.
SystemPalette DesktopPalette(const QPalette& palette);

} // namespace tidepool
