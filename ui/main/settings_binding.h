#pragma once

#include "render/settings/main_settings.h"

namespace tidepool {

struct MainWindowControls;

// The controls' state as the drawing job reads it: every text as typed.
MainSettings ReadSettings(const MainWindowControls& controls);

// Puts the texts the drawing job may have corrected back into their fields.
void WriteTexts(const MainWindowControls& controls, const MainSettings& settings);

} // namespace tidepool
