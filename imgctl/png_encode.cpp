#include "imgctl/png_encode.h"

#include "imgctl/output_file.h"
#include "imgctl/pixel.h"
#include "imgctl/png_image.h"

#include <cstdint>
#include <vector>

namespace tidepool::imgctl {

namespace {

// The simplified API takes whole pixels of the written format, so the unused alpha byte has to
// go before writing.
std::vector<std::uint8_t> rgbBytes(const Dib& dib) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(dib.pixels.size() * 3);
    for (const std::uint32_t pixel : dib.pixels) {
        bytes.push_back(redOf(pixel));
        bytes.push_back(greenOf(pixel));
        bytes.push_back(blueOf(pixel));
    }
    return bytes;
}

} // namespace

bool writePngFile(const char* path, const Dib& dib) {
    const std::vector<std::uint8_t> rgb = rgbBytes(dib);
    PngImage png;
    png->width = static_cast<png_uint_32>(dib.width);
    png->height = static_cast<png_uint_32>(dib.height);
    png->format = PNG_FORMAT_RGB;
    OutputFile file(path);
    if (!file.isOpen())
        return false;
    if (png_image_write_to_stdio(png.get(), file.stream(), 0, rgb.data(), 0, nullptr) == 0)
        return false;
    return file.commit();
}

} // namespace tidepool::imgctl
