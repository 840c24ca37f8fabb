#include "imgctl/png_decode.h"

#include "imgctl/imgctl.h"
#include "imgctl/pixel.h"

#include <png.h>

#include <cstring>
#include <vector>

namespace tidepool::imgctl {

namespace {

// Straight (not premultiplied) 8-bit colour over white, rounded to nearest, in the sRGB values
// themselves as most desktop compositing does, rather than in linear light as libpng's own
// background option would.
std::uint8_t overWhite(std::uint8_t colour, std::uint8_t alpha) {
    const unsigned blended = colour * alpha + 255u * (255u - alpha);
    return static_cast<std::uint8_t>((blended + 127u) / 255u);
}

// Pixels arrive as 0xAARRGGBB (B, G, R, A bytes); they become opaque in place.
void compositeOverWhite(const PixelRows& rows, std::int32_t width, std::int32_t height) {
    for (std::int32_t y = 0; y < height; ++y) {
        std::uint32_t* row = rows.first + y * rows.stride;
        for (std::int32_t x = 0; x < width; ++x) {
            const std::uint32_t pixel = row[x];
            const auto alpha = static_cast<std::uint8_t>(pixel >> 24);
            row[x] = opaquePixel(overWhite(redOf(pixel), alpha), overWhite(greenOf(pixel), alpha),
                                 overWhite(blueOf(pixel), alpha));
        }
    }
}

// Besides the critical chunks and tRNS, the only ones the pixels depend on. Every other chunk is
// passed over unread, so no compressed text or profile is ever inflated.
// libpng takes them as names of four letters, each followed by a 0.
constexpr png_byte kColourChunks[] = "gAMA\0sRGB\0cHRM";
static_assert(sizeof kColourChunks == 3 * 5);

// Where the rows go and how far they have come. Trivially destructible: libpng leaves the
// callbacks by longjmp on a damaged file.
struct Progress {
    PixelRows rows;
    std::int32_t width;
    std::int32_t height;
    bool hasAlpha = false;
    int lastPass = 0;          // the last interlace pass holding any pixel (0 when not interlaced)
    std::uint32_t lastRow = 0; // the image row that pass ends on
    bool complete = false;
};

Progress& progressOf(png_structp png) {
    return *static_cast<Progress*>(png_get_progressive_ptr(png));
}

[[noreturn]] void onError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

// The same conversion the simplified API makes for 8-bit RGBA, ending in B, G, R, A bytes:
// expanded, grey made RGB, 16 bits scaled, gamma corrected from the file's (sRGB when it names
// none, 16-bit files included) to sRGB, and a filler alpha of 255 where the file has none.
void onInfo(png_structp png, png_infop info) {
    Progress& progress = progressOf(png);
    png_uint_32 width = 0, height = 0;
    int depth = 0, colourType = 0, interlace = 0;
    png_get_IHDR(png, info, &width, &height, &depth, &colourType, &interlace, nullptr, nullptr);
    if (width != static_cast<png_uint_32>(progress.width) ||
        height != static_cast<png_uint_32>(progress.height))
        png_error(png, "the file changed since it was opened");
    progress.hasAlpha =
        (colourType & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    png_set_expand(png);
    if ((colourType & PNG_COLOR_MASK_COLOR) == 0)
        png_set_gray_to_rgb(png);
    if (depth == 16)
        png_set_scale_16(png);
    png_set_alpha_mode_fixed(png, PNG_ALPHA_PNG, PNG_DEFAULT_sRGB);
    if (!progress.hasAlpha)
        png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != width * 4)
        png_error(png, "unexpected row layout");

    if (interlace == PNG_INTERLACE_ADAM7) {
        for (int pass = 0; pass < 7; ++pass)
            if (PNG_PASS_COLS(width, pass) > 0 && PNG_PASS_ROWS(height, pass) > 0)
                progress.lastPass = pass;
        progress.lastRow =
            PNG_ROW_FROM_PASS_ROW(PNG_PASS_ROWS(height, progress.lastPass) - 1, progress.lastPass);
    } else {
        progress.lastRow = height - 1;
    }
}

// Every row of every pass passes through here, its pixels combined into the row kept; the one
// that completes the picture ends the reading once libpng has done with the block in hand, in
// which it inflates no more than one row past the picture. (Pausing libpng from here instead
// leaves it looping for ever.)
void onRow(png_structp png, png_bytep newRow, png_uint_32 row, int pass) {
    Progress& progress = progressOf(png);
    if (row >= static_cast<png_uint_32>(progress.height) || progress.complete)
        return;
    auto* kept = reinterpret_cast<png_bytep>(progress.rows.first + row * progress.rows.stride);
    png_progressive_combine_row(png, kept, newRow);
    if (newRow != nullptr && pass == progress.lastPass && row == progress.lastRow) {
        progress.complete = true;
    }
}

class ReadStruct {
  public:
    ReadStruct()
        : png_(png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning)),
          info_(png_ ? png_create_info_struct(png_) : nullptr) {}
    ReadStruct(const ReadStruct&) = delete;
    ReadStruct& operator=(const ReadStruct&) = delete;
    ~ReadStruct() { png_destroy_read_struct(&png_, &info_, nullptr); }

    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

  private:
    png_structp png_;
    png_infop info_;
};

// Feeds the file to libpng block by block until the picture is complete or the file ends. The
// only objects alive across a longjmp from libpng are trivially destructible.
bool feed(const ReadStruct& reader, const PngFile& file, Progress& progress, unsigned char* block,
          std::size_t blockSize) {
    if (setjmp(png_jmpbuf(reader.png())) != 0)
        return false;
    png_set_progressive_read_fn(reader.png(), &progress, onInfo, onRow, nullptr);
    png_set_keep_unknown_chunks(reader.png(), PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_set_keep_unknown_chunks(reader.png(), PNG_HANDLE_CHUNK_AS_DEFAULT, kColourChunks,
                                static_cast<int>(sizeof kColourChunks / 5));
    png_set_user_limits(reader.png(), IMGCTL_MAX_SIDE, IMGCTL_MAX_SIDE);
    std::int64_t offset = 0;
    while (!progress.complete) {
        const std::ptrdiff_t got = file.read(offset, block, blockSize);
        if (got <= 0)
            return false;
        offset += got;
        png_process_data(reader.png(), reader.info(), block, static_cast<std::size_t>(got));
    }
    return true;
}

} // namespace

std::unique_ptr<Dib> openPngDib(const char* path) {
    std::shared_ptr<const PngFile> file = PngFile::open(path);
    if (!file)
        return nullptr;
    auto dib = std::make_unique<Dib>();
    dib->width = file->width();
    dib->height = file->height();
    dib->undecoded = std::move(file);
    return dib;
}

bool decodePng(const PngFile& png, const PixelRows& rows) {
    ReadStruct reader;
    if (reader.png() == nullptr || reader.info() == nullptr)
        return false;
    Progress progress{rows, png.width(), png.height()};
    std::vector<unsigned char> block(1 << 16);
    if (!feed(reader, png, progress, block.data(), block.size()))
        return false;
    if (progress.hasAlpha)
        compositeOverWhite(rows, png.width(), png.height());
    return true;
}

std::shared_ptr<const Dib> withPixels(std::shared_ptr<const Dib> dib) {
    if (!dib || !dib->undecoded)
        return dib;
    std::shared_ptr<Dib> decoded = allocateDib(dib->width, dib->height);
    if (!decoded || !decodePng(*dib->undecoded, {decoded->pixels.data(), decoded->width}))
        return nullptr;
    return decoded;
}

} // namespace tidepool::imgctl
