#include "imagefile/codec_writer.h"

#include "imagefile/codec_surface.h"
#include "imagefile/current_folder.h"

#include <system_error>

namespace tidepool {
namespace {

std::int32_t Encode(const CodecFunctions& f, CodecFormat format, const std::string& file,
                    std::int32_t dib) {
    switch (format) {
    case CodecFormat::Jpeg:
        return f.DIBtoJPG(file.c_str(), dib, 100, 0);
    case CodecFormat::Gif:
        return f.DIBtoGIF(file.c_str(), dib, 0);
    case CodecFormat::Png:
        return f.DIBtoPNG(file.c_str(), dib, 0);
    }
    return 0;
}

} // namespace

WriteResult WriteWithCodec(CodecLibrary& codec, CodecFormat format, const DrawingSurface& surface,
                           const std::filesystem::path& path) {
    const CodecFunctions* f = codec.functions();
    if (f == nullptr)
        return WriteResult::Failure(codec.bindError());
    std::error_code error;
    const std::filesystem::path file = std::filesystem::absolute(path, error);
    if (error)
        return WriteResult::Failure(error.message());

    ScopedCurrentFolder inProgramFolder(codec.callFolder());
    const ImgctlSurface dc = AsCodecSource(surface);
    const DibHandle dib(*f, f->DCtoDIB(&dc, 0, 0, 0, 0));
    if (dib.get() == 0)
        return WriteResult::Failure("the codec plug-in could not take the picture");
    if (Encode(*f, format, file.string(), dib.get()) == 0)
        return WriteResult::Failure("the codec plug-in could not write the file");
    return WriteResult::Success();
}

} // namespace tidepool
