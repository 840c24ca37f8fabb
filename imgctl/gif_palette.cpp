#include "imgctl/gif_palette.h"

#include "imgctl/exact_palette.h"
#include "imgctl/pixel.h"

#include <cstddef>
#include <utility>

namespace tidepool::imgctl {

namespace {

constexpr std::size_t kMaxGifColours = 256;

GifColorType gifColour(std::uint32_t pixel) {
    return GifColorType{redOf(pixel), greenOf(pixel), blueOf(pixel)};
}

// The picture's own colours, so it survives unchanged.
std::optional<IndexedPicture> exactGifPalette(const Dib& dib) {
    std::optional<ExactPalette> exact = exactPalette(dib);
    if (!exact)
        return std::nullopt;
    IndexedPicture picture;
    for (const std::uint32_t colour : exact->colours)
        picture.palette.push_back(gifColour(colour));
    picture.indices = std::move(exact->indices);
    return picture;
}

std::optional<IndexedPicture> medianCutPalette(const Dib& dib) {
    const std::size_t count = dib.pixels.size();
    std::vector<GifByteType> red(count), green(count), blue(count);
    for (std::size_t i = 0; i < count; ++i) {
        red[i] = redOf(dib.pixels[i]);
        green[i] = greenOf(dib.pixels[i]);
        blue[i] = blueOf(dib.pixels[i]);
    }
    IndexedPicture picture;
    picture.indices.resize(count);
    picture.palette.resize(kMaxGifColours);
    int paletteSize = static_cast<int>(kMaxGifColours);
    if (GifQuantizeBuffer(static_cast<unsigned>(dib.width), static_cast<unsigned>(dib.height),
                          &paletteSize, red.data(), green.data(), blue.data(),
                          picture.indices.data(), picture.palette.data()) != GIF_OK)
        return std::nullopt;
    if (paletteSize >= 1 && static_cast<std::size_t>(paletteSize) < kMaxGifColours)
        picture.palette.resize(static_cast<std::size_t>(paletteSize));
    return picture;
}

} // namespace

std::optional<IndexedPicture> indexPicture(const Dib& dib) {
    if (auto exact = exactGifPalette(dib))
        return exact;
    return medianCutPalette(dib);
}

} // namespace tidepool::imgctl
