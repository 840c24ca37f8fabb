#pragma once

// Reads and writes picture files with Qt's own codecs, independently of the program's writers and
// of the codec plug-in, so that a fault in one cannot hide behind the same fault in the other.

#include "render/raster/drawing_surface.h"

#include <QImage>
#include <QString>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>

namespace tidepool::testing {

inline QString QtPath(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

// The file's pixels as 0xFFRRGGBB, top row first; empty when Qt cannot read it.
inline std::optional<QImage> ReadWithQt(const std::filesystem::path& path) {
    QImage image(QtPath(path));
    if (image.isNull())
        return std::nullopt;
    return image.convertToFormat(QImage::Format_RGB32);
}

inline QImage AsQImage(const DrawingSurface& surface) {
    QImage image(surface.width(), surface.height(), QImage::Format_RGB32);
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x)
            image.setPixel(x, y, surface.pixel(x, y));
    return image;
}

// A picture with a different colour in every pixel of a small grid, so that a shifted, flipped
// or transposed copy cannot pass for the original.
inline DrawingSurface PatternedSurface(int width, int height) {
    DrawingSurface surface(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            surface.pixels()[y * width + x] =
                0xFF000000u | static_cast<Pixel>((x * 37 % 256) << 16 | (y * 53 % 256) << 8 |
                                                 ((x + y) * 11 % 256));
    return surface;
}

// The largest difference in any colour channel between two 0x??RRGGBB pixels; alpha is ignored.
inline int ChannelDifference(std::uint32_t a, std::uint32_t b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

// The largest difference in any colour channel between two pictures of the same size.
inline int LargestChannelDifference(const QImage& a, const QImage& b) {
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            largest = std::max(largest, ChannelDifference(a.pixel(x, y), b.pixel(x, y)));
    return largest;
}

} // namespace tidepool::testing
