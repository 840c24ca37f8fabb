#include "imgctl/bitmap_header.h"

#include <cstddef>

namespace tidepool::imgctl {

namespace {

void putLittleEndian32(std::array<std::uint8_t, 40>& bytes, std::size_t offset,
                       std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void putLittleEndian16(std::array<std::uint8_t, 40>& bytes, std::size_t offset,
                       std::uint16_t value) {
    bytes[offset] = static_cast<std::uint8_t>(value);
    bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

} // namespace

std::array<std::uint8_t, 40> bitmapInfoHeader(const Dib& dib) {
    constexpr std::uint16_t kBitsPerPixel = 32;
    std::array<std::uint8_t, 40> bytes{}; // resolution and palette fields stay 0
    const auto width = static_cast<std::uint32_t>(dib.width);
    const auto height = static_cast<std::uint32_t>(dib.height);
    putLittleEndian32(bytes, 0, 40);     // biSize
    putLittleEndian32(bytes, 4, width);  // biWidth
    putLittleEndian32(bytes, 8, height); // biHeight, positive
    putLittleEndian16(bytes, 12, 1);     // biPlanes
    putLittleEndian16(bytes, 14, kBitsPerPixel);
    putLittleEndian32(bytes, 16, 0);                                    // biCompression: BI_RGB
    putLittleEndian32(bytes, 20, width * height * (kBitsPerPixel / 8)); // biSizeImage
    return bytes;
}

} // namespace tidepool::imgctl
