#include "tests/support/picture_diff.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

namespace tidepool::testing_support {

namespace {

std::string Hex(Colour c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", c & 0xFF, c >> 8 & 0xFF, c >> 16 & 0xFF);
    return text;
}

} // namespace

bool WritePpm(const DrawingSurface& surface, const std::filesystem::path& path) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << surface.width() << ' ' << surface.height() << "\n255\n";
    for (int y = 0; y < surface.height(); ++y) {
        for (int x = 0; x < surface.width(); ++x) {
            Pixel p = surface.pixel(x, y);
            const char rgb[3] = {static_cast<char>(p >> 16), static_cast<char>(p >> 8),
                                 static_cast<char>(p)};
            out.write(rgb, 3);
        }
    }
    return static_cast<bool>(out.flush());
}

std::optional<DrawingSurface> ReadPpm(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int w = 0, h = 0, maxValue = 0;
    if (!(in >> magic >> w >> h >> maxValue) || magic != "P6" || maxValue != 255 || w <= 0 ||
        h <= 0 || w > 10000 || h > 10000)
        return std::nullopt;
    in.get();
    std::vector<unsigned char> bytes(static_cast<std::size_t>(w) * h * 3);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
        return std::nullopt;
    DrawingSurface surface(w, h);
    for (std::size_t i = 0; i < static_cast<std::size_t>(w) * h; ++i)
        surface.pixels()[i] = toPixel(rgb(bytes[3 * i], bytes[3 * i + 1], bytes[3 * i + 2]));
    return surface;
}

std::string DescribeDifference(const DrawingSurface& expected, const DrawingSurface& actual) {
    std::ostringstream out;
    if (expected.width() != actual.width() || expected.height() != actual.height()) {
        out << "size " << actual.width() << "x" << actual.height() << ", expected "
            << expected.width() << "x" << expected.height();
        return out.str();
    }
    int count = 0, left = expected.width(), top = expected.height(), right = -1, bottom = -1;
    std::ostringstream samples;
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            if (expected.pixel(x, y) == actual.pixel(x, y))
                continue;
            if (++count <= 5)
                samples << "\n  (" << x << ", " << y << "): " << Hex(actual.colourAt(x, y))
                        << ", expected " << Hex(expected.colourAt(x, y));
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
        }
    }
    if (count == 0)
        return {};
    out << count << " pixels differ, within x " << left << ".." << right << ", y " << top << ".."
        << bottom << samples.str();
    return out.str();
}

} // namespace tidepool::testing_support
