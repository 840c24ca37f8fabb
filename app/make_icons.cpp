// Build step: draws the program's icon, one crab blowing bubbles, with the engine itself, and
// writes it with a transparent background at every size the desktop's icon theme asks for; the
// smallest sizes are drawn by hand for their size.
//
// Usage: tidepool-make-icons FOLDER SIZE...
// Writes FOLDER/<n>x<n>/apps/tidepool.png for each SIZE n, 1 to 512 pixels.

#include "render/figure/bubbles.h"
#include "render/figure/crab_figure.h"
#include "render/raster/drawing_surface.h"

#include <QDir>
#include <QImage>
#include <QString>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace {

using tidepool::Colour;
using tidepool::DrawingSurface;

// The scene is laid out on 128 units square and drawn 4 pixels a unit, so that every size is a
// smooth reduction of one sharp drawing.
constexpr int kUnits = 128;
constexpr int kDrawnSize = 512;

constexpr Colour kRed = tidepool::rgb(0xFF, 0x00, 0x00);
constexpr Colour kYellow = tidepool::rgb(0xFF, 0xFF, 0x00);
constexpr Colour kBlack = tidepool::rgb(0x00, 0x00, 0x00);
constexpr Colour kWhite = tidepool::rgb(0xFF, 0xFF, 0xFF);
// The sky blue of the wallpapers' "ブルーＢ" theme, so the bubbles show on light and dark panels.
constexpr Colour kBubbleBlue = tidepool::rgb(0x4C, 0xB5, 0xE8);

// Reduced to 16 or 24 pixels the drawing is a red blur, so those sizes are drawn pixel by pixel:
// the same crab on whole pixels, its body R, pattern Y, eyes K and bubble B, with . transparent.
// clang-format off
constexpr std::array<std::string_view, 16> kCrab16{{
    ".........BB.....",
    "........B..B....",
    "R.R......BB..R.R",
    "RRR..........RRR",
    ".RR..K....K..RR.",
    "..RR.R....R.RR..",
    "....RR....RR....",
    "....RRRRRRRR....",
    "...RRRRRRRRRR...",
    "RRRRRYRRRRYRRRRR",
    "..RRYRRRRRRYRR..",
    "RRRRYRRRRRRYRRRR",
    "...RRYRRRRYRR...",
    ".R..RRRRRRRR..R.",
    "R..............R",
    "................",
}};
constexpr std::array<std::string_view, 24> kCrab24{{
    "........................",
    "........................",
    "..............BB........",
    ".............B..B.......",
    "RR.RR........B..B..RR.RR",
    "RR.RR.........BB...RR.RR",
    "RRRRR............B.RRRRR",
    ".RRR................RRR.",
    "..RR....KK....KK....RR..",
    "...RR...KK....KK...RR...",
    "....RR...R....R...RR....",
    "......R..R....R..R......",
    ".......RRRRRRRRRR.......",
    ".....RRRRRRRRRRRRRR.....",
    "....RRRRRRRRRRRRRRRR....",
    "RRRRRRRRYRRRRRRYRRRRRRRR",
    "...RRRRYRRRRRRRRYRRRR...",
    "RRRRRRRYRRRRRRRRYRRRRRRR",
    "...RRRRYRRRRRRRRYRRRR...",
    "..RRRRRRYRRRRRRYRRRRRR..",
    ".R..RRRRRRRRRRRRRRRR..R.",
    "R....RRRRRRRRRRRRRR....R",
    ".......RRRRRRRRRR.......",
    "........................",
}};
// clang-format on

// The pixel a letter of the pixel art stands for.
tidepool::Pixel ArtPixel(char letter) {
    switch (letter) {
    case 'R':
        return tidepool::toPixel(kRed);
    case 'Y':
        return tidepool::toPixel(kYellow);
    case 'K':
        return tidepool::toPixel(kBlack);
    case 'B':
        return tidepool::toPixel(kBubbleBlue);
    default:
        return 0; // transparent
    }
}

QImage FromPixelArt(std::span<const std::string_view> rows) {
    const int size = static_cast<int>(rows.size());
    QImage icon(size, size, QImage::Format_ARGB32);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            icon.setPixel(x, y, ArtPixel(rows[y][x]));
    return icon;
}

std::optional<QImage> DrawnForSize(int size) {
    if (size == static_cast<int>(kCrab16.size()))
        return FromPixelArt(kCrab16);
    if (size == static_cast<int>(kCrab24.size()))
        return FromPixelArt(kCrab24);
    return std::nullopt;
}

// The crab in its start-up fixed colours, centred, with one group of bubbles above its right claw.
DrawingSurface DrawScene(Colour background) {
    DrawingSurface surface(kDrawnSize, kDrawnSize);
    surface.setScale(kUnits, kUnits);
    surface.setBackColor(background);
    surface.DrawWidth = 1;
    surface.FillStyle = 0;
    tidepool::DrawBubbles(surface, 98, 2, kBubbleBlue);
    const double magnification = static_cast<double>(kDrawnSize) / kUnits;
    const tidepool::CrabStyle style{
        0, {0, kRed, kYellow, kBlack, kWhite}, tidepool::OutlinePenWidth(magnification)};
    tidepool::DrawCrab(surface, 1, 4, 13, 0, 0, 1, style);
    return surface;
}

// Nothing is anti-aliased, so a pixel is either drawn or background: drawn pixels are the ones
// that come out the same over black and over white.
QImage WithTransparentBackground() {
    const DrawingSurface overBlack = DrawScene(kBlack);
    const DrawingSurface overWhite = DrawScene(kWhite);
    QImage icon(kDrawnSize, kDrawnSize, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < kDrawnSize; ++y)
        for (int x = 0; x < kDrawnSize; ++x) {
            const tidepool::Pixel pixel = overBlack.pixel(x, y);
            icon.setPixel(x, y, pixel == overWhite.pixel(x, y) ? pixel : 0u);
        }
    return icon;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes;
    for (int i = 2; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty() || std::any_of(sizes.begin(), sizes.end(),
                                     [](int size) { return size < 1 || size > kDrawnSize; })) {
        std::fprintf(stderr, "usage: tidepool-make-icons FOLDER SIZE... (1 to %d)\n", kDrawnSize);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QImage icon = WithTransparentBackground();
    for (int size : sizes) {
        const QString apps = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        const QString file = apps + QStringLiteral("/tidepool.png");
        const QImage sized = DrawnForSize(size).value_or(
            icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        if (!QDir().mkpath(apps) || !sized.save(file, "PNG")) {
            std::fprintf(stderr, "tidepool-make-icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
