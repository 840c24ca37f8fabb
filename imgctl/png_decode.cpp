#include "imgctl/png_decode.h"

#include "imgctl/pixel.h"
#include "imgctl/png_image.h"

#include <cstdint>
#include <cstring>

namespace tidepool::imgctl {

namespace {

// Straight (not premultiplied) 8-bit colour over white, rounded to nearest, in the sRGB values
// themselves as most desktop compositing does, rather than in linear light as libpng's own
// background option would.
std::uint8_t overWhite(std::uint8_t colour, std::uint8_t alpha) {
    const unsigned blended = colour * alpha + 255u * (255u - alpha);
    return static_cast<std::uint8_t>((blended + 127u) / 255u);
}

// libpng leaves R, G, B, A bytes in each pixel's four bytes; they become 0xFFRRGGBB in place,
// so the picture needs no second buffer.
void compositeRgbaOverWhite(Dib& dib) {
    for (std::uint32_t& pixel : dib.pixels) {
        unsigned char rgba[4];
        std::memcpy(rgba, &pixel, sizeof rgba);
        pixel = opaquePixel(overWhite(rgba[0], rgba[3]), overWhite(rgba[1], rgba[3]),
                            overWhite(rgba[2], rgba[3]));
    }
}

} // namespace

std::unique_ptr<Dib> decodePngFile(const char* path) {
    PngImage png;
    if (png_image_begin_read_from_file(png.get(), path) == 0)
        return nullptr;
    // The header alone decides whether the picture is too large, before its buffer exists.
    auto dib = allocateDib(png->width, png->height);
    if (!dib)
        return nullptr;
    png->format = PNG_FORMAT_RGBA;
    // 16-bit files without gamma information are taken as sRGB, as other viewers show them,
    // instead of libpng's default of linear, which would brighten them.
    png->flags |= PNG_IMAGE_FLAG_16BIT_sRGB;
    const auto rowBytes = static_cast<png_int_32>(dib->width) * 4;
    if (png_image_finish_read(png.get(), nullptr, dib->pixels.data(), rowBytes, nullptr) == 0)
        return nullptr;
    compositeRgbaOverWhite(*dib);
    return dib;
}

} // namespace tidepool::imgctl
