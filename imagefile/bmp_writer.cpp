#include "imagefile/bmp_writer.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <limits>
#include <vector>

namespace tidepool {
namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kBytesPerPixel = 3;
// 96 dots per inch, the resolution viewers assume for a screen picture anyway.
constexpr std::uint32_t kPixelsPerMetre = 3780;
// Rows go out in chunks of about this many bytes: a write a row would cost a call into the
// stream, and into the system, for every few kilobytes of a large picture.
constexpr std::uint64_t kChunkBytes = std::uint64_t{1} << 20;

using Header = std::array<char, kFileHeaderSize + kInfoHeaderSize>;

std::uint64_t RowStride(int width) {
    return (std::uint64_t{kBytesPerPixel} * width + 3) / 4 * 4;
}

void Put16(Header& h, std::size_t at, std::uint16_t v) {
    h[at] = static_cast<char>(v & 0xFF);
    h[at + 1] = static_cast<char>(v >> 8);
}

void Put32(Header& h, std::size_t at, std::uint32_t v) {
    Put16(h, at, static_cast<std::uint16_t>(v & 0xFFFF));
    Put16(h, at + 2, static_cast<std::uint16_t>(v >> 16));
}

Header MakeHeader(int width, int height, std::uint32_t imageSize) {
    Header h{};
    h[0] = 'B';
    h[1] = 'M';
    Put32(h, 2, kFileHeaderSize + kInfoHeaderSize + imageSize);
    Put32(h, 10, kFileHeaderSize + kInfoHeaderSize); // pixels follow the headers directly
    Put32(h, 14, kInfoHeaderSize);
    Put32(h, 18, static_cast<std::uint32_t>(width));
    Put32(h, 22, static_cast<std::uint32_t>(height)); // positive: bottom row first
    Put16(h, 26, 1);                                  // planes
    Put16(h, 28, 24);                                 // bits per pixel
    Put32(h, 30, 0);                                  // BI_RGB, uncompressed
    Put32(h, 34, imageSize);
    Put32(h, 38, kPixelsPerMetre);
    Put32(h, 42, kPixelsPerMetre);
    return h; // no palette: colours used and important stay 0
}

void EncodeRow(const Pixel* row, int width, char* bytes) {
    int x = 0;
    if constexpr (std::endian::native == std::endian::little) {
        // A pixel's first three bytes in memory are already blue, green and red, so four pixels
        // become three words without their alpha bytes.
        for (; x + 4 <= width; x += 4) {
            const Pixel a = row[x], b = row[x + 1], c = row[x + 2], d = row[x + 3];
            const std::array<std::uint32_t, 3> words{(a & 0xFFFFFFu) | b << 24,
                                                     (b >> 8 & 0xFFFFu) | c << 16,
                                                     (c >> 16 & 0xFFu) | d << 8};
            std::memcpy(bytes + 3 * x, words.data(), sizeof words);
        }
    }
    for (; x < width; ++x) {
        const Pixel p = row[x];
        bytes[3 * x] = static_cast<char>(p & 0xFF);
        bytes[3 * x + 1] = static_cast<char>(p >> 8 & 0xFF);
        bytes[3 * x + 2] = static_cast<char>(p >> 16 & 0xFF);
    }
}

} // namespace

WriteResult WriteBmp(const DrawingSurface& surface, std::ostream& out) {
    const int width = surface.width();
    const int height = surface.height();
    if (width <= 0 || height <= 0)
        return WriteResult::Failure("the picture is empty; there is nothing to write");
    const std::uint64_t stride = RowStride(width);
    const std::uint64_t imageSize = stride * static_cast<std::uint64_t>(height);
    if (imageSize > std::numeric_limits<std::uint32_t>::max() - kFileHeaderSize - kInfoHeaderSize)
        return WriteResult::Failure("the picture is too large for a BMP file");

    const Header header = MakeHeader(width, height, static_cast<std::uint32_t>(imageSize));
    out.write(header.data(), header.size());
    const std::uint64_t rowsPerChunk = std::max<std::uint64_t>(1, kChunkBytes / stride);
    std::vector<char> chunk(rowsPerChunk * stride, 0); // the padding bytes stay 0
    for (int y = height - 1; y >= 0 && out;) {
        std::uint64_t rows = 0;
        for (; rows < rowsPerChunk && y >= 0; ++rows, --y)
            EncodeRow(surface.pixels() + static_cast<std::size_t>(y) * width, width,
                      chunk.data() + rows * stride);
        out.write(chunk.data(), static_cast<std::streamsize>(rows * stride));
    }
    out.flush();
    if (!out)
        return WriteResult::Failure("writing the BMP data failed");
    return WriteResult::Success();
}

WriteResult WriteBmp(const DrawingSurface& surface, const std::filesystem::path& path) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        return WriteResult::Failure(std::string("cannot open the file: ") + std::strerror(errno));
    WriteResult result = WriteBmp(surface, file);
    if (!result.ok())
        return result;
    file.close();
    if (file.fail())
        return WriteResult::Failure("cannot finish writing the file");
    return WriteResult::Success();
}

} // namespace tidepool
