#pragma once

// A deliberately plain BMP reader for the tests, written from the file layout rather than from
// the writer, so that a fault in the writer cannot hide behind the same fault in the reader.

#include "tests/support/file_bytes.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace tidepool::testing {

struct DecodedBmp {
    // Header fields as stored.
    std::uint32_t fileSize = 0;
    std::uint32_t pixelOffset = 0;
    std::uint32_t infoSize = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitsPerPixel = 0;
    std::uint32_t compression = 0;
    std::uint32_t imageSize = 0;
    // Pixels top row first as 0xRRGGBB, and whether every row's padding bytes are zero.
    std::vector<std::uint32_t> rgb;
    bool paddingIsZero = true;

    std::uint32_t at(int x, int y) const { return rgb[static_cast<std::size_t>(y) * width + x]; }
};

inline std::uint32_t ReadLittleEndian(const std::string& bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// Decodes an uncompressed 24-bit bottom-up BMP; nullopt when the bytes are not one, or are
// shorter than their headers say.
inline std::optional<DecodedBmp> DecodeBmp(const std::string& bytes) {
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M')
        return std::nullopt;
    DecodedBmp bmp;
    bmp.fileSize = ReadLittleEndian(bytes, 2, 4);
    bmp.pixelOffset = ReadLittleEndian(bytes, 10, 4);
    bmp.infoSize = ReadLittleEndian(bytes, 14, 4);
    bmp.width = static_cast<std::int32_t>(ReadLittleEndian(bytes, 18, 4));
    bmp.height = static_cast<std::int32_t>(ReadLittleEndian(bytes, 22, 4));
    bmp.planes = static_cast<std::uint16_t>(ReadLittleEndian(bytes, 26, 2));
    bmp.bitsPerPixel = static_cast<std::uint16_t>(ReadLittleEndian(bytes, 28, 2));
    bmp.compression = ReadLittleEndian(bytes, 30, 4);
    bmp.imageSize = ReadLittleEndian(bytes, 34, 4);
    if (bmp.bitsPerPixel != 24 || bmp.width <= 0 || bmp.height <= 0)
        return std::nullopt;

    const std::size_t stride = (static_cast<std::size_t>(bmp.width) * 3 + 3) / 4 * 4;
    if (bytes.size() < bmp.pixelOffset + stride * bmp.height)
        return std::nullopt;
    bmp.rgb.resize(static_cast<std::size_t>(bmp.width) * bmp.height);
    for (int row = 0; row < bmp.height; ++row) {
        const std::size_t start = bmp.pixelOffset + stride * row;
        const int y = bmp.height - 1 - row; // the first row stored is the bottom one
        for (int x = 0; x < bmp.width; ++x)
            bmp.rgb[static_cast<std::size_t>(y) * bmp.width + x] =
                ReadLittleEndian(bytes, start + 3 * x, 3);
        for (std::size_t pad = start + 3 * bmp.width; pad < start + stride; ++pad)
            bmp.paddingIsZero = bmp.paddingIsZero && bytes[pad] == 0;
    }
    return bmp;
}

} // namespace tidepool::testing
