#include "imagefile/platform_picture_reader.h"

#include "imagefile/jpeg_layout.h"
#include "imagefile/picture_limits.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <vector>

namespace tidepool {
namespace {

// PNG is the plug-in's alone: a PNG under another name fails here, as it always has.
bool IsPlatformPictureFormat(const QByteArray& format) {
    static const std::array<QByteArray, 5> kFormats{"bmp", "jpeg", "gif", "ico", "cur"};
    return std::find(kFormats.begin(), kFormats.end(), format) != kFormats.end();
}

// Qt's own allocation guard, set just above what the largest allowed picture needs.
int AllocationLimitMegabytes() {
    constexpr std::int64_t bytes = kMaxPicturePixels * 4;
    return static_cast<int>(bytes / (1024 * 1024)) + 1;
}

int BitsPerPixel(QImage::Format format) {
    return format == QImage::Format_Invalid ? 0 : QImage::toPixelFormat(format).bitsPerPixel();
}

// Qt's JPEG and BMP readers decode into the image they are handed when its size and format are
// the ones they would make; the others make an image of their own.
bool DecodesIntoGivenImage(const QByteArray& format, QImage::Format decoded) {
    const int bits = BitsPerPixel(decoded);
    return (format == "jpeg" || format == "bmp") && bits > 0 && bits <= 32;
}

// The bytes an image of the decoder's own takes: GIF keeps its frame and, for a frame that
// restores what was under it, a copy of that area; both are 32 bits a pixel.
std::int64_t OwnImageBytes(const QByteArray& format, QImage::Format decoded, std::int64_t pixels) {
    if (DecodesIntoGivenImage(format, decoded))
        return 0;
    if (format == "gif")
        return 8 * pixels;
    const int bits = BitsPerPixel(decoded);
    return (bits > 0 ? (bits + 7) / 8 : 4) * pixels;
}

std::optional<DecodeCost> EstimateCost(const std::string& path, const QByteArray& format,
                                       QSize size, QImage::Format decoded) {
    const std::int64_t pixels = std::int64_t{size.width()} * size.height();
    DecodeCost cost{4 * pixels + OwnImageBytes(format, decoded, pixels), pixels};
    if (format == "jpeg") {
        std::ifstream file(path, std::ios::binary);
        const std::optional<JpegLayout> layout = ReadJpegLayout(file);
        if (!layout || layout->width != size.width() || layout->height != size.height())
            return std::nullopt;
        cost.bytes += JpegCoefficientBytes(*layout);
        cost.pixelPasses = std::max<std::int64_t>(layout->scans, 1) * pixels;
    }
    return cost;
}

Pixel OverWhite(QRgb argb) {
    const unsigned alpha = qAlpha(argb);
    const auto blend = [alpha](unsigned channel) {
        return (channel * alpha + 255u * (255u - alpha) + 127u) / 255u;
    };
    return 0xFF000000u | blend(qRed(argb)) << 16 | blend(qGreen(argb)) << 8 | blend(qBlue(argb));
}

// One row of any format as opaque pixels, transparent parts laid over white.
void ConvertRow(const QImage& row, Pixel* out) {
    const int width = row.width();
    if (row.format() == QImage::Format_Indexed8) {
        const QList<QRgb> table = row.colorTable();
        const uchar* in = row.constScanLine(0);
        for (int x = 0; x < width; ++x)
            out[x] = in[x] < table.size() ? OverWhite(table[in[x]]) : 0xFF000000u;
        return;
    }
    if (row.format() == QImage::Format_Grayscale8) {
        const uchar* in = row.constScanLine(0);
        for (int x = 0; x < width; ++x)
            out[x] = 0xFF000000u | Pixel{in[x]} * 0x010101u;
        return;
    }
    const QImage argb =
        row.convertToFormat(row.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    const auto* in = reinterpret_cast<const QRgb*>(argb.constScanLine(0));
    std::transform(in, in + width, out, OverWhite);
}

// The image, decoded into the last bytes of the surface's own pixels, widened to 32 bits in place
// from the first row on. Each row is copied out before its wider self is written, and a wider row
// never reaches the next narrow one, since a narrow row (padded to 32 bits) is at most as long as
// a wide one.
void WidenInPlace(const QImage& narrow, DrawingSurface& surface) {
    if (narrow.format() == QImage::Format_RGB32)
        return; // already the surface's pixels, opaque
    const qsizetype bytesPerLine = narrow.bytesPerLine();
    QImage row(narrow.width(), 1, narrow.format());
    row.setColorTable(narrow.colorTable());
    for (int y = 0; y < narrow.height(); ++y) {
        std::memcpy(row.bits(), narrow.constScanLine(y), static_cast<std::size_t>(bytesPerLine));
        ConvertRow(row, surface.pixels() + static_cast<std::size_t>(y) * surface.width());
    }
}

// An image the decoder made of its own, row by row into the surface.
void CopyInto(const QImage& image, DrawingSurface& surface) {
    for (int y = 0; y < image.height(); ++y) {
        const QImage row = image.copy(0, y, image.width(), 1);
        ConvertRow(row, surface.pixels() + static_cast<std::size_t>(y) * surface.width());
    }
}

// Decodes into the surface's own memory where the decoder allows, so the picture is only ever
// held once; otherwise from the decoder's image, a row at a time.
bool DecodeInto(QImageReader& reader, QImage::Format decoded, DrawingSurface& surface) {
    const int width = surface.width(), height = surface.height();
    const int bits = BitsPerPixel(decoded);
    QImage image;
    uchar* tail = nullptr;
    if (bits > 0 && bits <= 32) {
        // Rows padded to 32 bits, as Qt's own images have them and its readers assume.
        const qsizetype bytesPerLine = (qsizetype{width} * bits + 31) / 32 * 4;
        auto* bytes = reinterpret_cast<uchar*>(surface.pixels());
        tail = bytes + qsizetype{width} * height * 4 - bytesPerLine * height;
        image = QImage(tail, width, height, bytesPerLine, decoded);
    }
    if (!reader.read(&image) || image.size() != QSize(width, height))
        return false;
    if (tail != nullptr && image.constBits() == tail && image.format() == decoded)
        WidenInPlace(image, surface);
    else
        CopyInto(image, surface);
    return true;
}

} // namespace

std::optional<DrawingSurface> ReadPlatformPicture(const std::string& path) {
    QImageReader reader(QFile::decodeName(path.c_str()));
    reader.setDecideFormatFromContent(true);
    reader.setAllocationLimit(AllocationLimitMegabytes());
    const QByteArray format = reader.format().toLower();
    if (!IsPlatformPictureFormat(format))
        return std::nullopt;
    const QSize size = reader.size();
    if (!size.isValid() || !WithinPictureLimits(size.width(), size.height()))
        return std::nullopt;
    const QImage::Format decoded = reader.imageFormat();
    const std::optional<DecodeCost> cost = EstimateCost(path, format, size, decoded);
    if (!cost || !WithinDecodeBudget(*cost))
        return std::nullopt;
    DrawingSurface surface(size.width(), size.height());
    if (!DecodeInto(reader, decoded, surface))
        return std::nullopt;
    return surface;
}

} // namespace tidepool
