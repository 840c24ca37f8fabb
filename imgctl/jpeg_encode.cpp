#include "imgctl/jpeg_encode.h"

#include "imgctl/output_file.h"

#include <turbojpeg.h>

#include <bit>
#include <memory>
#include <span>

namespace tidepool::imgctl {

namespace {

struct DestroyCompressor {
    void operator()(void* compressor) const { tjDestroy(compressor); }
};
using Compressor = std::unique_ptr<void, DestroyCompressor>;

struct FreeJpegBuffer {
    void operator()(unsigned char* buffer) const { tjFree(buffer); }
};
using JpegBuffer = std::unique_ptr<unsigned char, FreeJpegBuffer>;

// How TurboJPEG sees a 0xFFRRGGBB integer in memory on this machine.
constexpr int kDibPixelFormat = std::endian::native == std::endian::little ? TJPF_BGRX : TJPF_XRGB;

} // namespace

bool isValidJpegQuality(int quality) {
    return quality >= 1 && quality <= 100;
}

bool writeJpegFile(const char* path, const Dib& dib, int quality) {
    if (!isValidJpegQuality(quality))
        return false;
    const Compressor compressor(tjInitCompress());
    if (!compressor)
        return false;
    unsigned char* compressed = nullptr;
    unsigned long size = 0;
    const int status =
        tjCompress2(compressor.get(), reinterpret_cast<const unsigned char*>(dib.pixels.data()),
                    dib.width, dib.width * 4, dib.height, kDibPixelFormat, &compressed, &size,
                    TJSAMP_444, quality, TJFLAG_ACCURATEDCT);
    const JpegBuffer owned(compressed); // TurboJPEG may have allocated even when it failed
    if (status != 0 || !owned)
        return false;
    OutputFile file(path);
    return file.isOpen() && file.write(std::span(owned.get(), size)) && file.commit();
}

} // namespace tidepool::imgctl
