#pragma once

#include "render/settings/colour.h"

#include <cstdint>
#include <functional>

class QWidget;

namespace tidepool {

// The answer PickColour gives when the user cancels.
inline constexpr std::int32_t kColourCancelled = -1;

// Lets the user choose a colour in the desktop's colour dialog, modal to owner and starting at
// initial (a system colour starts at what palette makes of it). Returns the colour chosen as
// 0x00BBGGRR, or kColourCancelled. The dialog's 16 custom colours start black at every call.
std::int32_t PickColour(QWidget* owner, Colour initial, const SystemPalette& palette);

// Something that picks a colour as PickColour does: the desktop's dialog, or a test's answer.
using ColourPicker =
    std::function<std::int32_t(QWidget* owner, Colour initial, const SystemPalette& palette)>;

} // namespace tidepool
