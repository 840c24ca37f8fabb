#include "imgctl/gif_encode.h"

#include "imgctl/gif_palette.h"
#include "imgctl/output_file.h"

#include <gif_lib.h>

#include <cstddef>
#include <memory>
#include <span>

namespace tidepool::imgctl {

namespace {

struct FreeColourMap {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};
using ColourMap = std::unique_ptr<ColorMapObject, FreeColourMap>;

// Only reached when something already failed; the finished path closes explicitly to check it.
struct CloseGif {
    void operator()(GifFileType* gif) const { EGifCloseFile(gif, nullptr); }
};
using GifWriter = std::unique_ptr<GifFileType, CloseGif>;

int writeToOutputFile(GifFileType* gif, const GifByteType* bytes, int length) {
    auto* file = static_cast<OutputFile*>(gif->UserData);
    if (length <= 0)
        return 0;
    const std::span chunk(bytes, static_cast<std::size_t>(length));
    return file->write(chunk) ? length : 0;
}

// GIF colour tables come in powers of two; the unused tail is black.
ColourMap gifColourMap(const IndexedPicture& picture) {
    const int colourCount = 1 << GifBitSize(static_cast<int>(picture.palette.size()));
    ColourMap map(GifMakeMapObject(colourCount, nullptr));
    if (!map)
        return nullptr;
    for (int i = 0; i < colourCount; ++i) {
        const auto index = static_cast<std::size_t>(i);
        map->Colors[i] = index < picture.palette.size() ? picture.palette[index] : GifColorType{};
    }
    return map;
}

bool writeRows(GifFileType* gif, const Dib& dib, IndexedPicture& picture) {
    for (std::int32_t row = 0; row < dib.height; ++row) {
        GifByteType* line = picture.indices.data() +
                            static_cast<std::size_t>(row) * static_cast<std::size_t>(dib.width);
        if (EGifPutLine(gif, line, dib.width) != GIF_OK)
            return false;
    }
    return true;
}

bool encodeGif(OutputFile& file, const Dib& dib, IndexedPicture& picture) {
    const ColourMap colours = gifColourMap(picture);
    if (!colours)
        return false;
    int error = 0;
    GifWriter gif(EGifOpen(&file, writeToOutputFile, &error));
    if (!gif)
        return false;
    constexpr int kBitsPerPrimary = 8;
    if (EGifPutScreenDesc(gif.get(), dib.width, dib.height, kBitsPerPrimary, 0, colours.get()) !=
            GIF_OK ||
        EGifPutImageDesc(gif.get(), 0, 0, dib.width, dib.height, false, nullptr) != GIF_OK ||
        !writeRows(gif.get(), dib, picture))
        return false;
    // EGifCloseFile writes the trailer and frees the writer whether or not it succeeds.
    return EGifCloseFile(gif.release(), &error) == GIF_OK;
}

} // namespace

bool writeGifFile(const char* path, const Dib& dib) {
    auto picture = indexPicture(dib);
    if (!picture)
        return false;
    OutputFile file(path);
    return file.isOpen() && encodeGif(file, dib, *picture) && file.commit();
}

} // namespace tidepool::imgctl
