#pragma once

#include "render/settings/colour.h"
#include "render/settings/theme_table.h"

#include <array>
#include <cstdint>

namespace tidepool {

// The render state shared by the drawing job, the renderer and the windows for the whole run.
// The program keeps exactly one; tests make their own.
struct RenderSettings {
    std::int16_t UseFixedColours = 0;
    std::int16_t BubblesInCrabColour = 0;
    std::int16_t SuppressBubbles = 0;
    ThemeTable themes = BuildThemeTable();
    // Indexes 1 to 4: body, pattern, eyes, bubbles. Index 0 is unused.
    std::array<Colour, 5> FixedColours{0, 0x0000FFu, 0x00FFFFu, 0x000000u, 0xFFFFFFu};
    // What system colours stand for on every surface the job draws.
    SystemPalette palette = SystemPalette::defaults();
};

} // namespace tidepool
