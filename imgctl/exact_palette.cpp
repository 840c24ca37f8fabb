#include "imgctl/exact_palette.h"

#include "imgctl/pixel.h"

#include <unordered_map>

namespace tidepool::imgctl {

std::optional<ExactPalette> exactPalette(const Dib& dib) {
    ExactPalette palette;
    palette.indices.resize(dib.pixels.size());
    std::unordered_map<std::uint32_t, std::uint8_t> indexOf;
    indexOf.reserve(ExactPalette::kMaxColours * 2);
    // Pictures here are mostly runs of one colour, so the last lookup is usually the answer.
    std::uint32_t lastColour = 0;
    std::uint8_t lastIndex = 0;
    bool haveLast = false;
    for (std::size_t i = 0; i < dib.pixels.size(); ++i) {
        const std::uint32_t colour = makeOpaque(dib.pixels[i]);
        if (!haveLast || colour != lastColour) {
            auto found = indexOf.find(colour);
            if (found == indexOf.end()) {
                if (palette.colours.size() == ExactPalette::kMaxColours)
                    return std::nullopt;
                const auto index = static_cast<std::uint8_t>(palette.colours.size());
                found = indexOf.emplace(colour, index).first;
                palette.colours.push_back(colour);
            }
            lastColour = colour;
            lastIndex = found->second;
            haveLast = true;
        }
        palette.indices[i] = lastIndex;
    }
    return palette;
}

} // namespace tidepool::imgctl
