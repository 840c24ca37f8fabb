#include "imgctl/png_encode.h"

#include "imgctl/exact_palette.h"
#include "imgctl/output_file.h"
#include "imgctl/pixel.h"
#include "imgctl/png_image.h"

#include <cstdint>
#include <vector>

namespace tidepool::imgctl {

namespace {

// The simplified API takes whole pixels of the written format, so the unused alpha byte has to
// go before writing.
std::vector<std::uint8_t> rgbBytes(const std::vector<std::uint32_t>& pixels) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(pixels.size() * 3);
    for (const std::uint32_t pixel : pixels) {
        bytes.push_back(redOf(pixel));
        bytes.push_back(greenOf(pixel));
        bytes.push_back(blueOf(pixel));
    }
    return bytes;
}

bool writeImage(PngImage& png, const char* path, const void* buffer, const void* colourMap) {
    OutputFile file(path);
    if (!file.isOpen())
        return false;
    if (png_image_write_to_stdio(png.get(), file.stream(), 0, buffer, 0, colourMap) == 0)
        return false;
    return file.commit();
}

} // namespace

bool writePngFile(const char* path, const Dib& dib) {
    PngImage png;
    png->width = static_cast<png_uint_32>(dib.width);
    png->height = static_cast<png_uint_32>(dib.height);
    // A wallpaper without a photograph behind it has a handful of colours, and as a palette
    // picture its rows shrink to a byte or less a pixel, which deflate then takes in long runs.
    if (const std::optional<ExactPalette> palette = exactPalette(dib)) {
        png->format = PNG_FORMAT_RGB_COLORMAP;
        png->colormap_entries = static_cast<png_uint_32>(palette->colours.size());
        return writeImage(png, path, palette->indices.data(), rgbBytes(palette->colours).data());
    }
    png->format = PNG_FORMAT_RGB;
    return writeImage(png, path, rgbBytes(dib.pixels).data(), nullptr);
}

} // namespace tidepool::imgctl
