// The C entry points. Nothing may unwind into the caller, which may not even be C++, so each
// one turns every failure, an exception included, into the result 0.
#include "imgctl/imgctl.h"

#include "imgctl/bitmap_header.h"
#include "imgctl/gif_encode.h"
#include "imgctl/handle_table.h"
#include "imgctl/jpeg_encode.h"
#include "imgctl/png_decode.h"
#include "imgctl/png_encode.h"
#include "imgctl/surface_copy.h"

#include <cstring>
#include <memory>
#include <utility>

namespace {

using namespace tidepool::imgctl;

template <typename Operation> std::int32_t guarded(Operation operation) noexcept {
    try {
        return operation();
    } catch (...) {
        return 0;
    }
}

std::int32_t succeeded(bool ok) {
    return ok ? 1 : 0;
}

std::int32_t addToTable(std::unique_ptr<Dib> dib) {
    return dib ? dibHandles().add(std::move(dib)) : 0;
}

// The checks every writer shares; the DIB, with its pixels, when the call may go ahead.
std::shared_ptr<const Dib> dibToWrite(const char* path, std::int32_t dib, std::int32_t flags) {
    if (path == nullptr || flags != 0)
        return nullptr;
    return withPixels(dibHandles().find(dib));
}

// The whole DIB onto the surface's top-left corner, the one copy a picture being loaded makes.
bool isWholePictureAtOrigin(const Dib& dib, const ImgctlSurface& dc, std::int32_t x, std::int32_t y,
                            std::int32_t width, std::int32_t height, std::int32_t srcX,
                            std::int32_t srcY) {
    return x == 0 && y == 0 && srcX == 0 && srcY == 0 && (width == 0 || width == dib.width) &&
           (height == 0 || height == dib.height) && dc.width >= dib.width &&
           dc.height >= dib.height;
}

} // namespace

extern "C" {

IMGCTL_API int32_t PNGtoDIB(const char* path) {
    return guarded([&] { return path == nullptr ? 0 : addToTable(openPngDib(path)); });
}

IMGCTL_API int32_t HeadDIB(int32_t dib, void* header) {
    return guarded([&] {
        const auto found = dibHandles().find(dib);
        if (!found || header == nullptr)
            return 0;
        const auto bytes = bitmapInfoHeader(*found);
        std::memcpy(header, bytes.data(), bytes.size());
        return 1;
    });
}

IMGCTL_API int32_t DIBtoDC(const ImgctlSurface* dc, int32_t x, int32_t y, int32_t width,
                           int32_t height, int32_t dib, int32_t srcX, int32_t srcY, uint32_t rop) {
    return guarded([&] {
        if (rop != IMGCTL_SRCCOPY || dc == nullptr || !isValidSurface(*dc))
            return 0;
        const auto found = dibHandles().find(dib);
        if (!found)
            return 0;
        if (found->undecoded &&
            isWholePictureAtOrigin(*found, *dc, x, y, width, height, srcX, srcY))
            return succeeded(decodePng(*found->undecoded, {dc->pixels, dc->stride}));
        const auto decoded = withPixels(found);
        if (!decoded)
            return 0;
        copyDibToSurface(*decoded, srcX, srcY, width, height, *dc, x, y);
        return 1;
    });
}

IMGCTL_API int32_t DCtoDIB(const ImgctlSurface* dc, int32_t x, int32_t y, int32_t width,
                           int32_t height) {
    return guarded([&] {
        if (dc == nullptr || !isValidSurface(*dc))
            return 0;
        return addToTable(copySurfaceToDib(*dc, x, y, width, height));
    });
}

IMGCTL_API int32_t DIBtoJPG(const char* path, int32_t dib, int32_t quality, int32_t flags) {
    return guarded([&] {
        const auto found = dibToWrite(path, dib, flags);
        return succeeded(found && writeJpegFile(path, *found, quality));
    });
}

IMGCTL_API int32_t DIBtoGIF(const char* path, int32_t dib, int32_t flags) {
    return guarded([&] {
        const auto found = dibToWrite(path, dib, flags);
        return succeeded(found && writeGifFile(path, *found));
    });
}

IMGCTL_API int32_t DIBtoPNG(const char* path, int32_t dib, int32_t flags) {
    return guarded([&] {
        const auto found = dibToWrite(path, dib, flags);
        return succeeded(found && writePngFile(path, *found));
    });
}

IMGCTL_API int32_t DeleteDIB(int32_t dib) {
    return guarded([&] { return succeeded(dibHandles().remove(dib)); });
}

} // extern "C"
