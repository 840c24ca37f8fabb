#pragma once

#include <array>
#include <cstdint>

namespace tidepool {

// A colour as the settings hold it: 0x00BBGGRR (red in the low byte), or 0x800000nn for the
// desktop's system colour number nn, which is only turned into RGB when something is drawn.
using Colour = std::uint32_t;

// A pixel as surfaces store it: 0xFFRRGGBB, the layout of QImage::Format_RGB32, so a window can
// show a surface without converting it.
using Pixel = std::uint32_t;

constexpr bool isSystemColour(Colour c) {
    return (c & 0xFFFFFF00u) == 0x80000000u;
}

// Builds a plain colour from its three channels, as #RRGGBB reads.
constexpr Colour rgb(unsigned r, unsigned g, unsigned b) {
    return (r & 0xFFu) | (g & 0xFFu) << 8 | (b & 0xFFu) << 16;
}

// Turns a plain colour into a stored pixel. The high byte of a plain colour is ignored.
constexpr Pixel toPixel(Colour c) {
    return 0xFF000000u | (c & 0xFFu) << 16 | (c & 0xFF00u) | (c >> 16 & 0xFFu);
}

// The plain colour of a stored pixel.
constexpr Colour fromPixel(Pixel p) {
    return (p >> 16 & 0xFFu) | (p & 0xFF00u) | (p & 0xFFu) << 16;
}

// The desktop's system colours, by number. The window fills it from the desktop palette; the
// command-line renderer and the tests use the defaults.
struct SystemPalette {
    static constexpr int kHighlight = 13;
    static constexpr int kButtonFace = 15;
    static constexpr int kButtonHighlight = 20;

    std::array<Colour, 32> colours{};

    static SystemPalette defaults() {
        SystemPalette p;
        p.colours[kHighlight] = rgb(0x00, 0x78, 0xD7);
        p.colours[kButtonFace] = rgb(0xF0, 0xF0, 0xF0);
        p.colours[kButtonHighlight] = rgb(0xFF, 0xFF, 0xFF);
        return p;
    }

    // The plain colour a colour stands for; unknown system numbers read as black.
    Colour resolve(Colour c) const {
        if (!isSystemColour(c))
            return c & 0x00FFFFFFu;
        unsigned n = c & 0xFFu;
        return n < colours.size() ? colours[n] : 0;
    }

    Pixel pixel(Colour c) const { return toPixel(resolve(c)); }

    bool operator==(const SystemPalette&) const = default;
};

} // namespace tidepool
