#include "imagefile/platform_picture_reader.h"

#include "imagefile/picture_limits.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <array>
#include <cstring>

namespace tidepool {
namespace {

// PNG is the plug-in's alone: a PNG under another name fails here, as it always has.
bool IsPlatformPictureFormat(const QByteArray& format) {
    static const std::array<QByteArray, 5> kFormats{"bmp", "jpeg", "gif", "ico", "cur"};
    return std::find(kFormats.begin(), kFormats.end(), format.toLower()) != kFormats.end();
}

// Qt's own allocation guard, set just above what the largest allowed picture needs.
int AllocationLimitMegabytes() {
    constexpr std::int64_t bytes = kMaxPicturePixels * 4;
    return static_cast<int>(bytes / (1024 * 1024)) + 1;
}

std::uint32_t OverWhite(QRgb argb) {
    const unsigned alpha = qAlpha(argb);
    const auto blend = [alpha](unsigned channel) {
        return (channel * alpha + 255u * (255u - alpha) + 127u) / 255u;
    };
    return 0xFF000000u | blend(qRed(argb)) << 16 | blend(qGreen(argb)) << 8 | blend(qBlue(argb));
}

DrawingSurface ToSurface(const QImage& decoded) {
    DrawingSurface surface(decoded.width(), decoded.height());
    if (decoded.hasAlphaChannel()) {
        const QImage image = decoded.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            Pixel* out = surface.pixels() + static_cast<std::size_t>(y) * surface.width();
            std::transform(row, row + image.width(), out, OverWhite);
        }
        return surface;
    }
    const QImage image = decoded.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(surface.pixels() + static_cast<std::size_t>(y) * surface.width(),
                    image.constScanLine(y), static_cast<std::size_t>(image.width()) * 4);
    return surface;
}

} // namespace

std::optional<DrawingSurface> ReadPlatformPicture(const std::string& path) {
    QImageReader reader(QFile::decodeName(path.c_str()));
    reader.setDecideFormatFromContent(true);
    reader.setAllocationLimit(AllocationLimitMegabytes());
    if (!IsPlatformPictureFormat(reader.format()))
        return std::nullopt;
    // Not every format knows its size before decoding; those are held by the allocation limit.
    if (const QSize size = reader.size();
        size.isValid() && !WithinPictureLimits(size.width(), size.height()))
        return std::nullopt;
    const QImage image = reader.read();
    if (image.isNull() || !WithinPictureLimits(image.width(), image.height()))
        return std::nullopt;
    return ToSurface(image);
}

} // namespace tidepool
