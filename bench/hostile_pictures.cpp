#include "bench/hostile_pictures.h"

#include "tests/support/png_chunks.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

// jpeglib.h needs FILE and size_t declared first.
#include <gif_lib.h>
#include <jpeglib.h>
#include <zlib.h>

namespace tidepool::bench {
namespace {

using testing::BigEndian32;
using testing::kPngSignature;
using testing::PngChunk;

constexpr int kLargestSide = 8192; // 64 M pixels, the most a picture may have
constexpr std::size_t kUnderOneMegabyte = 1000 * 1000;

// ---- JPEG -----------------------------------------------------------------------------------

// A flat picture, so the file is small however large it says it is.
std::string FlatJpeg(int side, int components, bool progressive) {
    jpeg_compress_struct c{};
    jpeg_error_mgr errors{};
    c.err = jpeg_std_error(&errors); // a failure here ends the program, which is fine for a tool
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = static_cast<JDIMENSION>(side);
    c.image_height = static_cast<JDIMENSION>(side);
    c.input_components = components;
    c.in_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 90, TRUE);
    c.optimize_coding = TRUE;
    if (progressive)
        jpeg_simple_progression(&c); // ten scans for colour, as encoders usually make
    jpeg_start_compress(&c, TRUE);
    std::string row;
    for (int x = 0; x < side; ++x)
        row += components == 3 ? std::string("\x28\x5a\xa0", 3) : std::string("\x5a", 1);
    while (c.next_scanline < c.image_height) {
        auto* line = reinterpret_cast<JSAMPROW>(row.data());
        jpeg_write_scanlines(&c, &line, 1);
    }
    jpeg_finish_compress(&c);
    std::string file(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    jpeg_destroy_compress(&c);
    return file;
}

// Where the last scan (its SOS marker) starts; the file ends with it and EOI.
std::size_t LastScanStart(const std::string& jpeg) {
    const std::size_t at = jpeg.rfind("\xff\xda");
    if (at == std::string::npos || jpeg.compare(jpeg.size() - 2, 2, "\xff\xd9") != 0)
        throw std::runtime_error("not a JPEG file with scans");
    return at;
}

// The decoder takes a scan repeated with the same parameters as a warning, not an error, and
// goes through every block of the picture again for each copy: that is the attack.
std::string WithScansRepeated(const std::string& jpeg, int scans, std::size_t sizeLimit) {
    const std::size_t start = LastScanStart(jpeg);
    const std::string scan = jpeg.substr(start, jpeg.size() - 2 - start);
    std::string file = jpeg.substr(0, jpeg.size() - 2);
    int count = 10; // jpeg_simple_progression's scans for colour
    while (count < scans && file.size() + scan.size() + 2 <= sizeLimit) {
        file += scan;
        ++count;
    }
    return file + "\xff\xd9";
}

const std::string& ProgressiveJpeg() {
    static const std::string file = FlatJpeg(kLargestSide, 3, true);
    return file;
}

// ---- PNG ------------------------------------------------------------------------------------

// Compresses what feed hands over, piece by piece until it returns an empty piece, into one
// zlib stream, without holding the whole of it.
template <typename Feed> std::string Deflate(Feed feed) {
    z_stream z{};
    deflateInit(&z, Z_BEST_COMPRESSION);
    std::string out;
    std::string piece;
    char buffer[1 << 16];
    int flush = Z_NO_FLUSH;
    do {
        piece = feed();
        flush = piece.empty() ? Z_FINISH : Z_NO_FLUSH;
        z.next_in = reinterpret_cast<Bytef*>(piece.data());
        z.avail_in = static_cast<uInt>(piece.size());
        do {
            z.next_out = reinterpret_cast<Bytef*>(buffer);
            z.avail_out = sizeof buffer;
            deflate(&z, flush);
            out.append(buffer, sizeof buffer - z.avail_out);
        } while (z.avail_out == 0);
    } while (flush != Z_FINISH);
    deflateEnd(&z);
    return out;
}

// The compressed data in IDAT chunks of 64 KiB, as encoders split it.
std::string IdatChunks(const std::string& stream) {
    std::string chunks;
    for (std::size_t at = 0; at < stream.size(); at += 1 << 16)
        chunks += PngChunk("IDAT", stream.substr(at, 1 << 16));
    return chunks;
}

std::string Png(std::uint32_t side, const std::string& beforeImage, const std::string& stream) {
    const std::string header =
        BigEndian32(side) + BigEndian32(side) + std::string("\x08\x02\x00\x00\x00", 5); // RGB
    return kPngSignature + PngChunk("IHDR", header) + beforeImage + IdatChunks(stream) +
           PngChunk("IEND", "");
}

// Rows of one colour, each after its filter byte, followed by `filler` zero bytes in the same
// stream: data past the image that a reader inflating to the end of the stream goes through.
std::string FlatRgbRows(std::uint32_t side, std::uint64_t filler) {
    std::uint32_t row = 0;
    std::uint64_t fillerLeft = filler;
    std::string line(1 + side * 3, '\x50');
    line[0] = '\0';
    const std::string zeros(1 << 20, '\0');
    return Deflate([&]() -> std::string {
        if (row < side) {
            ++row;
            return line;
        }
        if (fillerLeft == 0)
            return {};
        const std::uint64_t n = std::min<std::uint64_t>(fillerLeft, zeros.size());
        fillerLeft -= n;
        return zeros.substr(0, n);
    });
}

// A text chunk whose text inflates to `bytes` spaces.
std::string CompressedText(std::uint64_t bytes) {
    std::uint64_t left = bytes;
    const std::string spaces(1 << 20, ' ');
    const std::string text = Deflate([&]() -> std::string {
        const std::uint64_t n = std::min<std::uint64_t>(left, spaces.size());
        left -= n;
        return spaces.substr(0, n);
    });
    return PngChunk("zTXt", std::string("Comment\0\0", 9) + text);
}

std::string PngOfTextBombs() {
    const std::string bomb = CompressedText(16u << 20);
    const std::string image = FlatRgbRows(16, 0);
    std::string texts;
    while (texts.size() + bomb.size() + image.size() + 100 < kUnderOneMegabyte)
        texts += bomb;
    return Png(16, texts, image);
}

// ---- GIF and BMP ----------------------------------------------------------------------------

int AppendToString(GifFileType* gif, const GifByteType* bytes, int length) {
    static_cast<std::string*>(gif->UserData)
        ->append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(length));
    return length;
}

std::string FlatGif(int side) {
    std::string file;
    int error = 0;
    GifFileType* gif = EGifOpen(&file, AppendToString, &error);
    GifColorType colours[2] = {{40, 90, 160}, {255, 255, 255}};
    ColorMapObject* map = GifMakeMapObject(2, colours);
    EGifPutScreenDesc(gif, side, side, 1, 0, map);
    EGifPutImageDesc(gif, 0, 0, side, side, false, nullptr);
    std::string row(static_cast<std::size_t>(side), '\0');
    for (int y = 0; y < side; ++y)
        EGifPutLine(gif, reinterpret_cast<GifPixelType*>(row.data()), side);
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return file;
}

std::string LittleEndian(std::uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>(value >> (8 * i)));
    return out;
}

// Run-length coded 8-bit BMP: 255 pixels in two bytes.
std::string FlatRle8Bmp(std::uint32_t side) {
    std::string data;
    for (std::uint32_t y = 0; y < side; ++y) {
        for (std::uint32_t left = side; left > 0;) {
            const std::uint32_t run = std::min<std::uint32_t>(left, 255);
            data += static_cast<char>(run);
            data += '\0';
            left -= run;
        }
        data += std::string("\0\0", 2); // end of line
    }
    data += std::string("\0\1", 2); // end of picture
    const std::string palette = std::string("\xa0\x5a\x28\0", 4);
    const std::uint32_t offset = 14 + 40 + static_cast<std::uint32_t>(palette.size());
    const std::string info = LittleEndian(40, 4) + LittleEndian(side, 4) + LittleEndian(side, 4) +
                             LittleEndian(1, 2) + LittleEndian(8, 2) + LittleEndian(1, 4) +
                             LittleEndian(static_cast<std::uint32_t>(data.size()), 4) +
                             LittleEndian(2835, 4) + LittleEndian(2835, 4) + LittleEndian(1, 4) +
                             LittleEndian(1, 4);
    return "BM" + LittleEndian(offset + static_cast<std::uint32_t>(data.size()), 4) +
           LittleEndian(0, 4) + LittleEndian(offset, 4) + info + palette + data;
}

} // namespace

const std::vector<HostilePicture>& HostilePictures() {
    static const std::vector<HostilePicture> kinds{
        {"jpeg-progressive-100-scans", ".jpg",
         "8192 x 8192 progressive, its last scan repeated to 100 in all"},
        {"jpeg-progressive-1000-scans", ".jpg", "the same with 1,000 scans"},
        {"jpeg-progressive-1mb", ".jpg", "the same with as many scans as fit in 1 MB"},
        {"jpeg-progressive-64m", ".jpg", "8192 x 8192 progressive, the ten scans encoders make"},
        {"jpeg-baseline-64m", ".jpg", "8192 x 8192 baseline colour"},
        {"jpeg-grey-64m", ".jpg", "8192 x 8192 baseline grey"},
        {"png-64m", ".png", "8192 x 8192 colour"},
        {"png-filler-1gb", ".png", "16 x 16 whose image data goes on for 1 GB past its rows"},
        {"png-text-bombs", ".png", "16 x 16 after compressed texts of 16 MB each"},
        {"gif-64m", ".gif", "8192 x 8192"},
        {"bmp-rle8-64m", ".bmp", "8192 x 8192 run-length coded"},
    };
    return kinds;
}

std::string MakeHostilePicture(std::string_view name) {
    if (name == "jpeg-progressive-100-scans")
        return WithScansRepeated(ProgressiveJpeg(), 100, kUnderOneMegabyte);
    if (name == "jpeg-progressive-1000-scans")
        return WithScansRepeated(ProgressiveJpeg(), 1000, kUnderOneMegabyte);
    if (name == "jpeg-progressive-1mb")
        return WithScansRepeated(ProgressiveJpeg(), 1 << 30, kUnderOneMegabyte);
    if (name == "jpeg-progressive-64m")
        return ProgressiveJpeg();
    if (name == "jpeg-baseline-64m")
        return FlatJpeg(kLargestSide, 3, false);
    if (name == "jpeg-grey-64m")
        return FlatJpeg(kLargestSide, 1, false);
    if (name == "png-64m")
        return Png(kLargestSide, "", FlatRgbRows(kLargestSide, 0));
    if (name == "png-filler-1gb")
        return Png(16, "", FlatRgbRows(16, std::uint64_t{1} << 30));
    if (name == "png-text-bombs")
        return PngOfTextBombs();
    if (name == "gif-64m")
        return FlatGif(kLargestSide);
    if (name == "bmp-rle8-64m")
        return FlatRle8Bmp(kLargestSide);
    throw std::invalid_argument("no hostile picture " + std::string(name));
}

} // namespace tidepool::bench
