// Writes the fuzzers' starting corpora: small pictures in every format the program reads, made by
// the program's own writers and the codec plug-in from the tests' patterned picture.
//
// Usage: make_seeds FOLDER
//   FOLDER/png   PNG files for png_decoder_fuzz, each after the mode byte that has the fuzzer
//                repair chunk checksums
//   FOLDER/load  one file per format, each after the byte that picks its extension in
//                load_picture_fuzz
#include "imagefile/bmp_writer.h"
#include "imagefile/codec_writer.h"
#include "imagefile/program_folder.h"
#include "tests/support/file_bytes.h"
#include "tests/support/qt_picture.h"

#include <QImageWriter>

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace {

using tidepool::DrawingSurface;
using tidepool::testing::ReadWholeFile;
using tidepool::testing::WriteWholeFile;

bool WriteIco(const DrawingSurface& surface, const std::filesystem::path& path) {
    return tidepool::testing::AsQImage(surface).save(tidepool::testing::QtPath(path), "ICO");
}

// The kinds the platform's loader decodes in other layouts than 32-bit colour: progressive and
// grey JPEG, 8-bit and 1-bit BMP.
bool WriteOtherLayouts(const DrawingSurface& surface, const std::filesystem::path& stem) {
    const QImage image = tidepool::testing::AsQImage(surface);
    QImageWriter progressive(tidepool::testing::QtPath(stem.string() + "p.jpg"), "jpeg");
    progressive.setProgressiveScanWrite(true);
    return progressive.write(image) &&
           image.convertToFormat(QImage::Format_Grayscale8)
               .save(tidepool::testing::QtPath(stem.string() + "g.jpg"), "JPEG") &&
           image.convertToFormat(QImage::Format_Indexed8)
               .save(tidepool::testing::QtPath(stem.string() + "i.bmp"), "BMP") &&
           image.convertToFormat(QImage::Format_Mono)
               .save(tidepool::testing::QtPath(stem.string() + "m.bmp"), "BMP");
}

// Moves a written picture into the load corpus as seed, after the byte that picks its extension
// in load_picture_fuzz.
void MoveToLoadSeed(const std::filesystem::path& file, char selector,
                    const std::filesystem::path& seed) {
    WriteWholeFile(seed, std::string(1, selector) + ReadWholeFile(file));
    std::filesystem::remove(file);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds FOLDER\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    std::filesystem::create_directories(root / "png");
    std::filesystem::create_directories(root / "load");
    tidepool::CodecLibrary codec(tidepool::ProgramFolder());

    bool ok = true;
    int seed = 0;
    for (const auto [width, height] : {std::pair{1, 1}, {5, 3}, {6, 4}}) {
        const DrawingSurface picture = tidepool::testing::PatternedSurface(width, height);
        const std::string stem = std::to_string(seed++);
        const std::filesystem::path png = root / (stem + ".png");
        ok &= tidepool::WriteWithCodec(codec, tidepool::CodecFormat::Png, picture, png).ok();
        WriteWholeFile(root / "png" / (stem + ".png"), std::string(1, '\x01') + ReadWholeFile(png));
        const std::filesystem::path bmp = root / (stem + ".bmp");
        const std::filesystem::path jpg = root / (stem + ".jpg");
        const std::filesystem::path gif = root / (stem + ".gif");
        const std::filesystem::path ico = root / (stem + ".ico");
        ok &= tidepool::WriteBmp(picture, bmp).ok();
        ok &= tidepool::WriteWithCodec(codec, tidepool::CodecFormat::Jpeg, picture, jpg).ok();
        ok &= tidepool::WriteWithCodec(codec, tidepool::CodecFormat::Gif, picture, gif).ok();
        ok &= WriteIco(picture, ico);
        // The selector bytes match load_picture_fuzz's extension order.
        const std::pair<char, std::filesystem::path> loads[] = {
            {0, png}, {1, bmp}, {2, jpg}, {3, gif}, {4, ico}};
        for (const auto& [selector, file] : loads)
            MoveToLoadSeed(file, selector, root / "load" / (stem + file.extension().string()));
        ok &= WriteOtherLayouts(picture, root / stem);
        for (const char* kind : {"p.jpg", "g.jpg", "i.bmp", "m.bmp"})
            MoveToLoadSeed(root / (stem + kind), std::string_view(kind).ends_with(".jpg") ? 2 : 1,
                           root / "load" / (stem + kind));
    }
    if (!ok)
        std::fprintf(stderr, "make_seeds: a seed could not be written\n");
    return ok ? 0 : 1;
}
