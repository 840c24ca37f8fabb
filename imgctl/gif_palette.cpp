#include "imgctl/gif_palette.h"

#include "imgctl/pixel.h"

#include <cstddef>
#include <unordered_map>

namespace tidepool::imgctl {

namespace {

constexpr std::size_t kMaxGifColours = 256;

GifColorType gifColour(std::uint32_t pixel) {
    return GifColorType{redOf(pixel), greenOf(pixel), blueOf(pixel)};
}

// Gives each colour an index in order of first appearance. Stops at the 257th colour, so a
// photograph costs no more than a few rows before quantising takes over.
std::optional<IndexedPicture> exactPalette(const Dib& dib) {
    IndexedPicture picture;
    picture.indices.resize(dib.pixels.size());
    std::unordered_map<std::uint32_t, GifByteType> indexOf;
    indexOf.reserve(kMaxGifColours * 2);
    // Pictures here are mostly runs of one colour, so the last lookup is usually the answer.
    std::uint32_t lastColour = 0;
    GifByteType lastIndex = 0;
    bool haveLast = false;
    for (std::size_t i = 0; i < dib.pixels.size(); ++i) {
        const std::uint32_t colour = makeOpaque(dib.pixels[i]);
        if (!haveLast || colour != lastColour) {
            auto found = indexOf.find(colour);
            if (found == indexOf.end()) {
                if (picture.palette.size() == kMaxGifColours)
                    return std::nullopt;
                const auto index = static_cast<GifByteType>(picture.palette.size());
                found = indexOf.emplace(colour, index).first;
                picture.palette.push_back(gifColour(colour));
            }
            lastColour = colour;
            lastIndex = found->second;
            haveLast = true;
        }
        picture.indices[i] = lastIndex;
    }
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
    if (auto exact = exactPalette(dib))
        return exact;
    return medianCutPalette(dib);
}

} // namespace tidepool::imgctl
