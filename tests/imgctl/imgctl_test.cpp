// The codec plug-in through its C functions. Files it writes are read back with Qt's own codecs,
// and files it reads are made with Qt or by hand, so a fault in the plug-in cannot hide behind
// the same fault in the test's reader.
#include "imgctl/imgctl.h"

#include "imgctl/handle_table.h"
#include "tests/support/file_bytes.h"
#include "tests/support/png_chunks.h"
#include "tests/support/qt_picture.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/test_name.h"

#include <QImage>
#include <QImageReader>
#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#if defined(__unix__)
#include <csignal>
#include <sys/resource.h>
#endif

namespace tidepool {
namespace {

using testing::BigEndian32;
using testing::ChannelDifference;
using testing::Compressed;
using testing::kPngSignature;
using testing::PngChunk;
using testing::QtPath;
using testing::ReadWholeFile;
using testing::ReadWithQt;
using testing::ScratchFolder;
using testing::WriteWholeFile;
using PixelFunction = std::function<std::uint32_t(int x, int y)>;

// ---------------------------------------------------------------------------------------------
// Pictures

// Five colours in a pattern that shows a shifted, flipped or transposed copy.
std::uint32_t FewColours(int x, int y) {
    static constexpr std::array<std::uint32_t, 5> kColours{0xFFE04020u, 0xFF20A0E0u, 0xFFFFFFFFu,
                                                           0xFF000000u, 0xFF7F8081u};
    return kColours[static_cast<std::size_t>((x * 3 + y * 7 + x * y) % 5)];
}

// Every pixel unrelated to its neighbours, so no format compresses it much.
std::uint32_t Noise(int x, int y) {
    std::uint32_t v =
        static_cast<std::uint32_t>(x) * 73856093u ^ static_cast<std::uint32_t>(y) * 19349663u;
    v ^= v >> 13;
    v *= 0x5BD1E995u;
    v ^= v >> 15;
    return 0xFF000000u | (v & 0xFFFFFFu);
}

// Thousands of colours, changing smoothly, as a photograph would.
std::uint32_t ManyColours(int x, int y) {
    const unsigned r = (x * 4) & 0xFF;
    const unsigned g = (y * 4) & 0xFF;
    const unsigned b = ((x + y) * 2) & 0xFF;
    return 0xFF000000u | r << 16 | g << 8 | b;
}

// Exactly 256 colours, the most a GIF palette keeps exactly.
std::uint32_t Grey256(int x, int y) {
    const auto v = static_cast<std::uint32_t>((y * 16 + x) & 0xFF);
    return 0xFF000000u | v << 16 | v << 8 | v;
}

// A surface over a caller's vector, as the program passes its own pixels.
struct Canvas {
    int width;
    int height;
    int stride;
    std::vector<std::uint32_t> pixels;

    Canvas(int w, int h, std::uint32_t fill, int extraStride = 0)
        : width(w), height(h), stride(w + extraStride),
          pixels(static_cast<std::size_t>(stride) * static_cast<std::size_t>(h), fill) {}

    ImgctlSurface surface() { return ImgctlSurface{pixels.data(), width, height, stride}; }
    std::uint32_t& at(int x, int y) {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(stride) +
                      static_cast<std::size_t>(x)];
    }
};

Canvas PaintedCanvas(int width, int height, const PixelFunction& pixel) {
    Canvas canvas(width, height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            canvas.at(x, y) = pixel(x, y);
    return canvas;
}

// A handle that is deleted when the test is done with it.
class Dib {
  public:
    explicit Dib(std::int32_t handle) : handle_(handle) {}
    Dib(const Dib&) = delete;
    Dib& operator=(const Dib&) = delete;
    ~Dib() {
        if (handle_ != 0)
            DeleteDIB(handle_);
    }
    std::int32_t handle() const { return handle_; }
    explicit operator bool() const { return handle_ != 0; }

  private:
    std::int32_t handle_;
};

Dib MakeDib(int width, int height, const PixelFunction& pixel) {
    Canvas canvas = PaintedCanvas(width, height, pixel);
    const ImgctlSurface surface = canvas.surface();
    return Dib(DCtoDIB(&surface, 0, 0, 0, 0));
}

struct Size {
    int width;
    int height;
};

std::optional<Size> DibSize(std::int32_t handle) {
    std::array<std::uint8_t, IMGCTL_HEADER_SIZE> header{};
    if (HeadDIB(handle, header.data()) == 0)
        return std::nullopt;
    auto read32 = [&](std::size_t at) {
        return static_cast<int>(header[at] | header[at + 1] << 8 | header[at + 2] << 16 |
                                static_cast<std::uint32_t>(header[at + 3]) << 24);
    };
    return Size{read32(4), read32(8)};
}

// The DIB's pixels, as DIBtoDC hands them out.
Canvas DibPixels(std::int32_t handle) {
    const auto size = DibSize(handle);
    if (!size)
        return Canvas(0, 0, 0);
    Canvas canvas(size->width, size->height, 0);
    const ImgctlSurface surface = canvas.surface();
    EXPECT_NE(DIBtoDC(&surface, 0, 0, 0, 0, handle, 0, 0, IMGCTL_SRCCOPY), 0);
    return canvas;
}

// The largest channel difference between a picture and a decoded file of the same size.
int LargestDifference(const QImage& image, const PixelFunction& expected) {
    int largest = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            largest = std::max(largest, ChannelDifference(image.pixel(x, y), expected(x, y)));
    return largest;
}

class ImgctlTest : public ::testing::Test {
  protected:
    ScratchFolder scratch_;

    std::string PathOf(const std::string& name) const { return (scratch_ / name).string(); }
    void ExpectRefusedByEveryOperation(std::int32_t handle);
};

// ---------------------------------------------------------------------------------------------
// Writers

enum class Format { Png, Gif, Jpeg };

std::int32_t WriteAs(Format format, const char* path, std::int32_t dib) {
    switch (format) {
    case Format::Png:
        return DIBtoPNG(path, dib, 0);
    case Format::Gif:
        return DIBtoGIF(path, dib, 0);
    case Format::Jpeg:
        return DIBtoJPG(path, dib, 100, 0);
    }
    return 0;
}

std::string FormatName(Format format) {
    switch (format) {
    case Format::Png:
        return "Png";
    case Format::Gif:
        return "Gif";
    case Format::Jpeg:
        return "Jpeg";
    }
    return {};
}

struct RoundTripCase {
    const char* name;
    Format format;
    int width;
    int height;
    std::uint32_t (*pixel)(int, int);
    int allowedDifference; // per channel, after decoding with Qt
};

class WrittenFile : public ImgctlTest, public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(WrittenFile, DecodesWithQtToThePicture) {
    const RoundTripCase& c = GetParam();
    const Dib dib = MakeDib(c.width, c.height, c.pixel);
    ASSERT_TRUE(dib);
    const std::string path = PathOf("picture");

    ASSERT_NE(WriteAs(c.format, path.c_str(), dib.handle()), 0);

    const auto decoded = ReadWithQt(path);
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->width(), c.width);
    ASSERT_EQ(decoded->height(), c.height);
    EXPECT_LE(LargestDifference(*decoded, c.pixel), c.allowedDifference);
}

INSTANTIATE_TEST_SUITE_P(
    Imgctl, WrittenFile,
    ::testing::Values(RoundTripCase{"PngOddSize", Format::Png, 37, 23, FewColours, 0},
                      RoundTripCase{"PngManyColours", Format::Png, 64, 64, ManyColours, 0},
                      RoundTripCase{"PngOnePixel", Format::Png, 1, 1, FewColours, 0},
                      RoundTripCase{"GifOddSize", Format::Gif, 37, 23, FewColours, 0},
                      RoundTripCase{"GifOneColour", Format::Gif, 5, 3,
                                    [](int, int) { return 0xFF123456u; }, 0},
                      RoundTripCase{"GifOnePixel", Format::Gif, 1, 1, FewColours, 0},
                      RoundTripCase{"Gif256Colours", Format::Gif, 16, 16, Grey256, 0},
                      RoundTripCase{"GifManyColours", Format::Gif, 64, 64, ManyColours, 48},
                      RoundTripCase{"JpegOddSize", Format::Jpeg, 37, 23, FewColours, 10},
                      RoundTripCase{"JpegManyColours", Format::Jpeg, 64, 64, ManyColours, 3}),
    [](const auto& info) { return std::string(info.param.name); });

// giflib's median cut sizes its boxes by pixel count, so sparse colours can land far from their
// box's average; the bounds above and here are loose for that reason, but far below what a
// swapped channel or a wrong palette index would give.
TEST_F(ImgctlTest, GifOfManyColoursUsesAFullPaletteWithSmallAverageError) {
    const Dib dib = MakeDib(64, 64, ManyColours);
    ASSERT_NE(DIBtoGIF(PathOf("a.gif").c_str(), dib.handle(), 0), 0);
    const auto decoded = ReadWithQt(scratch_ / "a.gif");
    ASSERT_TRUE(decoded);
    std::vector<QRgb> colours;
    double total = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            colours.push_back(decoded->pixel(x, y));
            total += ChannelDifference(decoded->pixel(x, y), ManyColours(x, y));
        }
    std::sort(colours.begin(), colours.end());
    const auto distinct = std::unique(colours.begin(), colours.end()) - colours.begin();
    EXPECT_LE(distinct, 256);
    EXPECT_GT(distinct, 200);
    EXPECT_LT(total / (64 * 64), 14.0);
}

TEST_F(ImgctlTest, PngWrittenByThePlugInReadsBackExactly) {
    const Dib dib = MakeDib(37, 23, ManyColours);
    ASSERT_NE(DIBtoPNG(PathOf("a.png").c_str(), dib.handle(), 0), 0);
    const Dib back(PNGtoDIB(PathOf("a.png").c_str()));
    ASSERT_TRUE(back);
    Canvas pixels = DibPixels(back.handle());
    ASSERT_EQ(pixels.width, 37);
    ASSERT_EQ(pixels.height, 23);
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x)
            ASSERT_EQ(pixels.at(x, y), ManyColours(x, y)) << x << "," << y;
}

// Colour i of a picture's own palette, all distinct.
std::uint32_t NthColour(int i) {
    return 0xFF000040u | static_cast<std::uint32_t>(i & 0xFF) << 16 |
           static_cast<std::uint32_t>(i >> 8) << 8;
}

// n colours over 40 x 20 pixels, each on some pixel; the first appearances are not in order.
PixelFunction ColoursUpTo(int n) {
    return [n](int x, int y) { return NthColour((x * 7 + y * 40) % n); };
}

struct PngColourCase {
    int colours;
    int bitDepth;   // IHDR byte 24
    int colourType; // IHDR byte 25: 3 palette, 2 truecolour
};

class PngOfColours : public ImgctlTest, public ::testing::WithParamInterface<PngColourCase> {};

TEST_P(PngOfColours, TakesTheNarrowestLosslessFormAndReadsBackExactly) {
    const PixelFunction pixel = ColoursUpTo(GetParam().colours);
    const Dib dib = MakeDib(40, 20, pixel);
    ASSERT_NE(DIBtoPNG(PathOf("a.png").c_str(), dib.handle(), 0), 0);
    const std::string bytes = ReadWholeFile(scratch_ / "a.png");
    ASSERT_GT(bytes.size(), 26u);
    EXPECT_EQ(bytes[24], GetParam().bitDepth);
    EXPECT_EQ(bytes[25], GetParam().colourType);
    const Dib back(PNGtoDIB(PathOf("a.png").c_str()));
    Canvas pixels = DibPixels(back.handle());
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(pixels.at(x, y), pixel(x, y)) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Imgctl, PngOfColours,
                         ::testing::Values(PngColourCase{1, 1, 3}, PngColourCase{3, 2, 3},
                                           PngColourCase{16, 4, 3}, PngColourCase{17, 8, 3},
                                           PngColourCase{256, 8, 3}, PngColourCase{257, 8, 2}),
                         [](const auto& info) { return std::to_string(info.param.colours); });

TEST_F(ImgctlTest, PngPaletteListsColoursInTheOrderTheyFirstAppear) {
    const PixelFunction pixel = ColoursUpTo(200);
    const Dib dib = MakeDib(40, 20, pixel);
    ASSERT_NE(DIBtoPNG(PathOf("a.png").c_str(), dib.handle(), 0), 0);
    std::string expected;
    std::vector<std::uint32_t> seen;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            if (std::find(seen.begin(), seen.end(), pixel(x, y)) == seen.end()) {
                seen.push_back(pixel(x, y));
                expected += {static_cast<char>(pixel(x, y) >> 16),
                             static_cast<char>(pixel(x, y) >> 8), static_cast<char>(pixel(x, y))};
            }
    const std::string bytes = ReadWholeFile(scratch_ / "a.png");
    const std::size_t chunk = bytes.find("PLTE");
    ASSERT_NE(chunk, std::string::npos);
    auto byte = [&](std::size_t at) {
        return static_cast<std::size_t>(static_cast<unsigned char>(bytes[at]));
    };
    EXPECT_EQ(byte(chunk - 4) << 24 | byte(chunk - 3) << 16 | byte(chunk - 2) << 8 |
                  byte(chunk - 1),
              expected.size())
        << "the chunk holds those colours and no more";
    EXPECT_EQ(bytes.substr(chunk + 4, expected.size()), expected);
}

TEST_F(ImgctlTest, WriterReplacesALongerExistingFile) {
    WriteWholeFile(scratch_ / "a.png", std::string(100000, 'x'));
    const Dib dib = MakeDib(4, 4, FewColours);
    ASSERT_NE(DIBtoPNG(PathOf("a.png").c_str(), dib.handle(), 0), 0);
    const auto decoded = ReadWithQt(scratch_ / "a.png");
    ASSERT_TRUE(decoded);
    EXPECT_EQ(LargestDifference(*decoded, FewColours), 0);
    EXPECT_LT(std::filesystem::file_size(scratch_ / "a.png"), 1000u);
}

struct RefusedWrite {
    const char* name;
    std::function<std::int32_t(const char* path, std::int32_t dib)> write;
};

class WriterRefusal : public ImgctlTest, public ::testing::WithParamInterface<RefusedWrite> {};

TEST_P(WriterRefusal, ReturnsZeroAndLeavesNoFile) {
    const Dib dib = MakeDib(8, 8, FewColours);
    const std::string path = PathOf("out");
    EXPECT_EQ(GetParam().write(path.c_str(), dib.handle()), 0);
    EXPECT_TRUE(scratch_.names().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Imgctl, WriterRefusal,
    ::testing::Values(
        RefusedWrite{"JpegQuality0",
                     [](const char* p, std::int32_t d) { return DIBtoJPG(p, d, 0, 0); }},
        RefusedWrite{"JpegQuality101",
                     [](const char* p, std::int32_t d) { return DIBtoJPG(p, d, 101, 0); }},
        RefusedWrite{"JpegQualityNegative",
                     [](const char* p, std::int32_t d) { return DIBtoJPG(p, d, -1, 0); }},
        RefusedWrite{"JpegFlags",
                     [](const char* p, std::int32_t d) { return DIBtoJPG(p, d, 90, 1); }},
        RefusedWrite{"GifFlags", [](const char* p, std::int32_t d) { return DIBtoGIF(p, d, 1); }},
        RefusedWrite{"PngFlags", [](const char* p, std::int32_t d) { return DIBtoPNG(p, d, -1); }}),
    [](const auto& info) { return std::string(info.param.name); });

// Writers that are given valid arguments but cannot write where they are told.
class UnwritablePath : public ImgctlTest, public ::testing::WithParamInterface<Format> {};

TEST_P(UnwritablePath, MissingFolderGivesZeroAndNoFile) {
    const Dib dib = MakeDib(8, 8, FewColours);
    EXPECT_EQ(WriteAs(GetParam(), PathOf("missing/out").c_str(), dib.handle()), 0);
    EXPECT_TRUE(scratch_.names().empty());
}

TEST_P(UnwritablePath, AFolderInTheWayIsLeftAlone) {
    const Dib dib = MakeDib(8, 8, FewColours);
    std::filesystem::create_directory(scratch_ / "folder");
    EXPECT_EQ(WriteAs(GetParam(), PathOf("folder").c_str(), dib.handle()), 0);
    EXPECT_TRUE(std::filesystem::is_directory(scratch_ / "folder"));
}

TEST_P(UnwritablePath, NullPathGivesZero) {
    const Dib dib = MakeDib(8, 8, FewColours);
    EXPECT_EQ(WriteAs(GetParam(), nullptr, dib.handle()), 0);
}

#if defined(__unix__)
// The file system refusing bytes half way through, or only the last one, which goes out when
// the file is closed, must not leave a truncated picture behind.
TEST_P(UnwritablePath, WriteThatFailsMidwayRemovesTheFile) {
    const Dib dib = MakeDib(256, 256, Noise);
    ASSERT_NE(WriteAs(GetParam(), PathOf("whole").c_str(), dib.handle()), 0);
    const auto whole = std::filesystem::file_size(scratch_ / "whole");
    std::filesystem::remove(scratch_ / "whole");
    for (const rlim_t limit : {rlim_t{600}, rlim_t{whole - 1}}) {
        rlimit previous{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = previous;
        small.rlim_cur = limit;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        const std::int32_t result = WriteAs(GetParam(), PathOf("big").c_str(), dib.handle());
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);

        EXPECT_EQ(result, 0) << "at most " << limit << " bytes";
        EXPECT_TRUE(scratch_.names().empty()) << "at most " << limit << " bytes";
    }
}
#endif

INSTANTIATE_TEST_SUITE_P(Imgctl, UnwritablePath,
                         ::testing::Values(Format::Png, Format::Gif, Format::Jpeg),
                         [](const auto& info) { return FormatName(info.param); });

// ---------------------------------------------------------------------------------------------
// PNG reading

struct QtWrittenPng {
    const char* name;
    QImage::Format format;
    int allowedDifference;
};

class PngFromQt : public ImgctlTest, public ::testing::WithParamInterface<QtWrittenPng> {};

// Qt writes each of these as a different kind of PNG (truecolour, palette, grey, 16-bit); the
// plug-in must read all of them as Qt itself reads them.
TEST_P(PngFromQt, DecodesAsQtDoes) {
    QImage source(37, 23, QImage::Format_RGB32);
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x)
            source.setPixel(x, y, FewColours(x, y));
    const QImage converted = source.convertToFormat(GetParam().format);
    ASSERT_TRUE(converted.save(QtPath(scratch_ / "in.png"), "PNG"));
    const auto expected = ReadWithQt(scratch_ / "in.png");
    ASSERT_TRUE(expected);

    const Dib dib(PNGtoDIB(PathOf("in.png").c_str()));
    ASSERT_TRUE(dib);
    Canvas pixels = DibPixels(dib.handle());
    ASSERT_EQ(pixels.width, 37);
    ASSERT_EQ(pixels.height, 23);
    int largest = 0;
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x) {
            EXPECT_EQ(pixels.at(x, y) >> 24, 0xFFu);
            largest = std::max(largest, ChannelDifference(pixels.at(x, y), expected->pixel(x, y)));
        }
    EXPECT_LE(largest, GetParam().allowedDifference);
}

INSTANTIATE_TEST_SUITE_P(Imgctl, PngFromQt,
                         ::testing::Values(QtWrittenPng{"Truecolour", QImage::Format_RGB888, 0},
                                           QtWrittenPng{"TruecolourWithAlpha",
                                                        QImage::Format_ARGB32, 0},
                                           QtWrittenPng{"Palette", QImage::Format_Indexed8, 0},
                                           QtWrittenPng{"Grey", QImage::Format_Grayscale8, 0},
                                           QtWrittenPng{"SixteenBit", QImage::Format_RGBA64, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

struct TranslucentPixel {
    const char* name;
    QRgb written; // straight alpha
    std::uint32_t expected;
};

class PngAlpha : public ImgctlTest, public ::testing::WithParamInterface<TranslucentPixel> {};

TEST_P(PngAlpha, IsCompositedOverWhite) {
    QImage image(3, 2, QImage::Format_ARGB32);
    image.fill(GetParam().written);
    ASSERT_TRUE(image.save(QtPath(scratch_ / "alpha.png"), "PNG"));
    const Dib dib(PNGtoDIB(PathOf("alpha.png").c_str()));
    ASSERT_TRUE(dib);
    Canvas pixels = DibPixels(dib.handle());
    ASSERT_EQ(pixels.width, 3);
    EXPECT_EQ(pixels.at(2, 1) >> 24, 0xFFu);
    EXPECT_LE(ChannelDifference(pixels.at(2, 1), GetParam().expected), 1)
        << std::hex << pixels.at(2, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Imgctl, PngAlpha,
    ::testing::Values(TranslucentPixel{"Opaque", qRgba(10, 200, 30, 255), 0xFF0AC81Eu},
                      TranslucentPixel{"Transparent", qRgba(10, 200, 30, 0), 0xFFFFFFFFu},
                      TranslucentPixel{"TransparentBlack", qRgba(0, 0, 0, 0), 0xFFFFFFFFu},
                      TranslucentPixel{"HalfBlack", qRgba(0, 0, 0, 128), 0xFF7F7F7Fu},
                      TranslucentPixel{"QuarterRed", qRgba(255, 0, 0, 64), 0xFFFFBFBFu}),
    [](const auto& info) { return std::string(info.param.name); });

// A PNG file made by hand: 1-bit grey, every pixel black, with a real compressed image, so the
// file is valid in every respect but its size.
std::string HandMadePng(std::uint32_t width, std::uint32_t height, bool withImage) {
    const std::string header = BigEndian32(width) + BigEndian32(height) +
                               std::string("\x01\x00\x00\x00\x00", 5); // 1 bit, grey
    std::string image("\x78\x9c\x03\x00", 4); // a valid but far too short stream
    if (withImage)
        image =
            Compressed(std::string((1 + (width + 7) / 8) * static_cast<std::size_t>(height), '\0'));
    return kPngSignature + PngChunk("IHDR", header) + PngChunk("IDAT", image) +
           PngChunk("IEND", "");
}

struct HandMadeSize {
    const char* name;
    std::uint32_t width;
    std::uint32_t height;
};

// Complete files, so the size alone decides.
class PngSizeLimit : public ImgctlTest, public ::testing::WithParamInterface<HandMadeSize> {};

TEST_P(PngSizeLimit, AllowsUpToTheLimits) {
    const HandMadeSize& c = GetParam();
    WriteWholeFile(scratch_ / "limit.png", HandMadePng(c.width, c.height, true));
    const Dib dib(PNGtoDIB(PathOf("limit.png").c_str()));
    ASSERT_TRUE(dib);
    const auto size = DibSize(dib.handle());
    ASSERT_TRUE(size);
    EXPECT_EQ(size->width, static_cast<int>(c.width));
    EXPECT_EQ(size->height, static_cast<int>(c.height));
}

INSTANTIATE_TEST_SUITE_P(Imgctl, PngSizeLimit,
                         ::testing::Values(HandMadeSize{"WidestAllowed", 16384, 1},
                                           HandMadeSize{"TallestAllowed", 1, 16384},
                                           HandMadeSize{"MostPixelsAllowed", 8192, 8192}),
                         [](const auto& info) { return std::string(info.param.name); });

class OversizedPng : public ImgctlTest, public ::testing::WithParamInterface<HandMadeSize> {};

TEST_P(OversizedPng, IsRefusedWithItsWholeImage) {
    const HandMadeSize& c = GetParam();
    WriteWholeFile(scratch_ / "limit.png", HandMadePng(c.width, c.height, true));
    EXPECT_EQ(PNGtoDIB(PathOf("limit.png").c_str()), 0);
}

// With almost no image data the header alone must be enough to refuse, at once, rather than
// decoding until the data runs out.
TEST_P(OversizedPng, IsRefusedQuicklyFromTheHeader) {
    const HandMadeSize& c = GetParam();
    WriteWholeFile(scratch_ / "limit.png", HandMadePng(c.width, c.height, false));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(PNGtoDIB(PathOf("limit.png").c_str()), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
}

INSTANTIATE_TEST_SUITE_P(Imgctl, OversizedPng,
                         ::testing::Values(HandMadeSize{"TooWide", 16385, 1},
                                           HandMadeSize{"TooTall", 1, 16385},
                                           HandMadeSize{"TooManyPixels", 9000, 9000},
                                           HandMadeSize{"OneRowTooMany", 16384, 4097}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ImgctlTest, PngOfTheLargestDeclarableSizeIsRefused) {
    WriteWholeFile(scratch_ / "huge.png", HandMadePng(0x7FFFFFFF, 0x7FFFFFFF, false));
    EXPECT_EQ(PNGtoDIB(PathOf("huge.png").c_str()), 0);
}

// A valid PNG of noise, so its image data spans many bytes worth cutting into.
std::string NoisePng(const ScratchFolder& scratch) {
    QImage image(37, 23, QImage::Format_RGB32);
    std::uint32_t state = 12345;
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x) {
            state = state * 1664525u + 1013904223u;
            image.setPixel(x, y, 0xFF000000u | state >> 8);
        }
    const auto path = scratch / "noise.png";
    EXPECT_TRUE(image.save(QtPath(path), "PNG"));
    return ReadWholeFile(path);
}

struct BrokenFile {
    const char* name;
    std::function<std::string(const std::string& validPng)> make;
};

class PngRefusal : public ImgctlTest, public ::testing::WithParamInterface<BrokenFile> {};

TEST_P(PngRefusal, GivesZero) {
    const std::string valid = NoisePng(scratch_);
    ASSERT_GT(valid.size(), 1000u);
    WriteWholeFile(scratch_ / "broken.png", GetParam().make(valid));
    EXPECT_EQ(PNGtoDIB(PathOf("broken.png").c_str()), 0);
}

std::string FlipByte(std::string bytes, std::size_t at) {
    bytes[at] = static_cast<char>(bytes[at] ^ 0x55);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Imgctl, PngRefusal,
    ::testing::Values(
        BrokenFile{"Empty", [](const std::string&) { return std::string(); }},
        BrokenFile{"SignatureOnly", [](const std::string& v) { return v.substr(0, 8); }},
        BrokenFile{"HeaderOnly", [](const std::string& v) { return v.substr(0, 33); }},
        BrokenFile{"CutInTheImage", [](const std::string& v) { return v.substr(0, v.size() / 2); }},
        BrokenFile{"CutBeforeTheEnd",
                   [](const std::string& v) { return v.substr(0, v.size() - 20); }},
        BrokenFile{"DamagedImageData",
                   [](const std::string& v) { return FlipByte(v, v.size() / 2); }},
        BrokenFile{"DamagedHeader", [](const std::string& v) { return FlipByte(v, 20); }},
        BrokenFile{"Text", [](const std::string&) { return std::string("not a picture\n"); }},
        BrokenFile{"Gif",
                   [](const std::string&) {
                       return std::string("GIF89a\x01\x00\x01\x00\x00\x00\x00;", 14);
                   }}),
    [](const auto& info) { return std::string(info.param.name); });

// An 8-bit RGB file made by hand, its rows in Adam7 order when interlaced, each pass's rows after
// a filter byte of 0, with an optional ancillary chunk before the image data.
std::string RgbPng(int width, int height, bool interlaced, const PixelFunction& pixel,
                   const std::string& beforeImage = "") {
    static constexpr std::array<std::array<int, 4>, 7> kPasses{{{0, 0, 8, 8},
                                                                {4, 0, 8, 8},
                                                                {0, 4, 4, 8},
                                                                {2, 0, 4, 4},
                                                                {0, 2, 2, 4},
                                                                {1, 0, 2, 2},
                                                                {0, 1, 1, 2}}};
    const auto appendRows = [&](std::string& raw, int x0, int y0, int dx, int dy) {
        if (x0 >= width)
            return;
        for (int y = y0; y < height; y += dy) {
            raw += '\0';
            for (int x = x0; x < width; x += dx) {
                const std::uint32_t p = pixel(x, y);
                raw +=
                    {static_cast<char>(p >> 16), static_cast<char>(p >> 8), static_cast<char>(p)};
            }
        }
    };
    std::string raw;
    if (interlaced)
        for (const auto& [x0, y0, dx, dy] : kPasses)
            appendRows(raw, x0, y0, dx, dy);
    else
        appendRows(raw, 0, 0, 1, 1);
    const std::string header = BigEndian32(static_cast<std::uint32_t>(width)) +
                               BigEndian32(static_cast<std::uint32_t>(height)) +
                               std::string{'\x08', '\x02', '\0', '\0', interlaced ? '\x01' : '\0'};
    return kPngSignature + PngChunk("IHDR", header) + beforeImage +
           PngChunk("IDAT", Compressed(raw)) + PngChunk("IEND", "");
}

struct InterlacedSize {
    const char* name;
    int width;
    int height;
};

class InterlacedPng : public ImgctlTest, public ::testing::WithParamInterface<InterlacedSize> {};

// Sizes that leave some of the seven passes empty, so the picture is complete after another pass
// than the last.
TEST_P(InterlacedPng, DecodesLikeTheSamePictureNotInterlaced) {
    const InterlacedSize& c = GetParam();
    WriteWholeFile(scratch_ / "adam7.png", RgbPng(c.width, c.height, true, Noise));
    const Dib dib(PNGtoDIB(PathOf("adam7.png").c_str()));
    ASSERT_TRUE(dib);
    Canvas pixels = DibPixels(dib.handle());
    ASSERT_EQ(pixels.width, c.width);
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x)
            ASSERT_EQ(pixels.at(x, y), Noise(x, y)) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(
    Imgctl, InterlacedPng,
    ::testing::Values(InterlacedSize{"OnePixel", 1, 1}, InterlacedSize{"OneColumn", 1, 9},
                      InterlacedSize{"OneRow", 9, 1}, InterlacedSize{"TwoByTwo", 2, 2},
                      InterlacedSize{"FiveByThree", 5, 3}, InterlacedSize{"Odd", 37, 23}),
    [](const auto& info) { return std::string(info.param.name); });

// A file that says its samples are linear light is shown in sRGB as other viewers show it:
// linear 128 is sRGB 186 to 188, however the curve is approximated.
TEST_F(ImgctlTest, PngOfLinearGammaIsShownInSrgb) {
    const std::string linear = PngChunk("gAMA", BigEndian32(100000));
    WriteWholeFile(scratch_ / "linear.png",
                   RgbPng(
                       3, 2, false, [](int, int) { return 0xFF808080u; }, linear));
    const Dib dib(PNGtoDIB(PathOf("linear.png").c_str()));
    ASSERT_TRUE(dib);
    const std::uint32_t shown = DibPixels(dib.handle()).at(2, 1);
    EXPECT_GE(shown & 0xFF, 186u) << std::hex << shown;
    EXPECT_LE(shown & 0xFF, 188u) << std::hex << shown;
}

// A PNG's pixels stay in its file until they are wanted; every operation that wants them gets
// the same picture: a clipped copy, a copy into a smaller surface, and each writer.
struct RegionCopy {
    const char* name;
    int x, y, width, height, srcX, srcY;
    int surfaceWidth, surfaceHeight;
};

class PngDibRegion : public ImgctlTest, public ::testing::WithParamInterface<RegionCopy> {};

TEST_P(PngDibRegion, MatchesTheSameRegionOfADibMadeFromPixels) {
    const RegionCopy& c = GetParam();
    WriteWholeFile(scratch_ / "noise.png", RgbPng(37, 23, false, Noise));
    const Dib fromFile(PNGtoDIB(PathOf("noise.png").c_str()));
    const Dib fromPixels = MakeDib(37, 23, Noise);
    ASSERT_TRUE(fromFile);
    Canvas expected(c.surfaceWidth, c.surfaceHeight, 0xFF010203u);
    Canvas actual(c.surfaceWidth, c.surfaceHeight, 0xFF010203u);
    const ImgctlSurface e = expected.surface(), a = actual.surface();
    ASSERT_NE(DIBtoDC(&e, c.x, c.y, c.width, c.height, fromPixels.handle(), c.srcX, c.srcY,
                      IMGCTL_SRCCOPY),
              0);
    ASSERT_NE(
        DIBtoDC(&a, c.x, c.y, c.width, c.height, fromFile.handle(), c.srcX, c.srcY, IMGCTL_SRCCOPY),
        0);
    EXPECT_EQ(actual.pixels, expected.pixels);
}

INSTANTIATE_TEST_SUITE_P(
    Imgctl, PngDibRegion,
    ::testing::Values(RegionCopy{"Whole", 0, 0, 0, 0, 0, 0, 37, 23},
                      RegionCopy{"WholeIntoALargerSurface", 0, 0, 0, 0, 0, 0, 40, 30},
                      RegionCopy{"IntoASmallerSurface", 0, 0, 0, 0, 0, 0, 20, 10},
                      RegionCopy{"OffTheCorner", -3, 2, 0, 0, 1, 0, 16, 12},
                      RegionCopy{"PartOfIt", 4, 5, 10, 6, 7, 8, 37, 23}),
    [](const auto& info) { return std::string(info.param.name); });

class PngDibWritten : public ImgctlTest, public ::testing::WithParamInterface<Format> {};

TEST_P(PngDibWritten, AsTheSamePicture) {
    WriteWholeFile(scratch_ / "in.png", RgbPng(37, 23, false, FewColours));
    const Dib dib(PNGtoDIB(PathOf("in.png").c_str()));
    ASSERT_TRUE(dib);
    ASSERT_NE(WriteAs(GetParam(), PathOf("out").c_str(), dib.handle()), 0);
    const auto written = ReadWithQt(scratch_ / "out");
    ASSERT_TRUE(written);
    EXPECT_LE(LargestDifference(*written, FewColours), GetParam() == Format::Jpeg ? 8 : 0);
}

INSTANTIATE_TEST_SUITE_P(Imgctl, PngDibWritten,
                         ::testing::Values(Format::Png, Format::Gif, Format::Jpeg),
                         [](const auto& info) { return FormatName(info.param); });

// Sound in every chunk, so it gets a handle; its image data ends too soon, which only decoding
// finds, and then every operation that wants the pixels fails.
TEST_F(ImgctlTest, PngWhoseImageDataIsShortFailsWhenItsPixelsAreWanted) {
    const std::string whole = RgbPng(37, 23, false, Noise);
    const std::string halfTheRows(23 * (1 + 37 * 3) / 2, '\0');
    const std::string header = whole.substr(8, 25);
    WriteWholeFile(scratch_ / "short.png", whole.substr(0, 8) + header +
                                               PngChunk("IDAT", Compressed(halfTheRows)) +
                                               PngChunk("IEND", ""));
    const Dib dib(PNGtoDIB(PathOf("short.png").c_str()));
    ASSERT_TRUE(dib);
    ASSERT_TRUE(DibSize(dib.handle()));
    Canvas canvas(37, 23, 0);
    const ImgctlSurface surface = canvas.surface();
    EXPECT_EQ(DIBtoDC(&surface, 0, 0, 0, 0, dib.handle(), 0, 0, IMGCTL_SRCCOPY), 0);
    EXPECT_EQ(DIBtoDC(&surface, 1, 1, 5, 5, dib.handle(), 0, 0, IMGCTL_SRCCOPY), 0);
    EXPECT_EQ(DIBtoPNG(PathOf("out.png").c_str(), dib.handle(), 0), 0);
    EXPECT_FALSE(std::filesystem::exists(scratch_ / "out.png"));
}

TEST_F(ImgctlTest, PngReadRefusesMissingFileAndNullPath) {
    EXPECT_EQ(PNGtoDIB(PathOf("missing.png").c_str()), 0);
    EXPECT_EQ(PNGtoDIB(PathOf("missing/a.png").c_str()), 0);
    EXPECT_EQ(PNGtoDIB(scratch_.path().string().c_str()), 0);
    EXPECT_EQ(PNGtoDIB(nullptr), 0);
}

// ---------------------------------------------------------------------------------------------
// Handles

TEST(ImgctlHandles, HeadDibDescribesThePictureByteByByte) {
    const Dib dib = MakeDib(300, 2, FewColours);
    ASSERT_TRUE(dib);
    std::array<std::uint8_t, IMGCTL_HEADER_SIZE + 4> header;
    header.fill(0xAA);
    ASSERT_NE(HeadDIB(dib.handle(), header.data()), 0);
    const std::array<std::uint8_t, IMGCTL_HEADER_SIZE + 4> expected{
        40,   0,    0,    0,               // size
        0x2C, 0x01, 0,    0,               // width 300
        2,    0,    0,    0,               // height 2, bottom-up
        1,    0,    32,   0,               // planes, bits per pixel
        0,    0,    0,    0,               // no compression
        0x60, 0x09, 0,    0,               // 300 * 2 * 4 bytes
        0,    0,    0,    0,   0, 0, 0, 0, // resolution
        0,    0,    0,    0,   0, 0, 0, 0, // palette
        0xAA, 0xAA, 0xAA, 0xAA};           // untouched beyond the record
    EXPECT_EQ(header, expected);
    EXPECT_EQ(HeadDIB(dib.handle(), nullptr), 0);
}

// Every operation on a handle must refuse it when it does not name a live DIB, and touch nothing.
void ImgctlTest::ExpectRefusedByEveryOperation(std::int32_t handle) {
    std::array<std::uint8_t, IMGCTL_HEADER_SIZE> header{};
    Canvas canvas(4, 4, 0x00123456u);
    const ImgctlSurface surface = canvas.surface();
    EXPECT_EQ(HeadDIB(handle, header.data()), 0);
    EXPECT_EQ(DIBtoDC(&surface, 0, 0, 0, 0, handle, 0, 0, IMGCTL_SRCCOPY), 0);
    EXPECT_EQ(DIBtoPNG(PathOf("a.png").c_str(), handle, 0), 0);
    EXPECT_EQ(DIBtoGIF(PathOf("a.gif").c_str(), handle, 0), 0);
    EXPECT_EQ(DIBtoJPG(PathOf("a.jpg").c_str(), handle, 100, 0), 0);
    EXPECT_EQ(DeleteDIB(handle), 0);
    EXPECT_TRUE(scratch_.names().empty());
    EXPECT_TRUE(std::all_of(canvas.pixels.begin(), canvas.pixels.end(),
                            [](std::uint32_t p) { return p == 0x00123456u; }));
}

class BadHandle : public ImgctlTest, public ::testing::WithParamInterface<std::int32_t> {};

TEST_P(BadHandle, IsRefusedByEveryOperation) {
    ExpectRefusedByEveryOperation(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Imgctl, BadHandle,
                         ::testing::Values(0, -1, INT32_MIN, INT32_MAX, 123456789),
                         [](const auto& info) { return test_names::NameOf("Handle", info.param); });

TEST_F(ImgctlTest, DeletedHandleIsRefusedByEveryOperation) {
    const std::int32_t handle = MakeDib(4, 4, FewColours).handle(); // deleted at once
    ASSERT_NE(handle, 0);
    ExpectRefusedByEveryOperation(handle);
}

TEST(ImgctlHandles, SecondDeleteIsRefused) {
    Canvas canvas(2, 2, 0);
    const ImgctlSurface surface = canvas.surface();
    const std::int32_t handle = DCtoDIB(&surface, 0, 0, 0, 0);
    ASSERT_GT(handle, 0);
    EXPECT_NE(DeleteDIB(handle), 0);
    EXPECT_EQ(DeleteDIB(handle), 0);
}

TEST(ImgctlHandles, AreDistinctAndNotReusedAtOnce) {
    const Dib a = MakeDib(1, 1, FewColours);
    const std::int32_t deleted = MakeDib(1, 1, FewColours).handle();
    const Dib b = MakeDib(1, 1, FewColours);
    EXPECT_GT(a.handle(), 0);
    EXPECT_NE(a.handle(), b.handle());
    EXPECT_NE(b.handle(), deleted);
}

TEST(ImgctlHandleTable, WrapsAroundToOnePassingZero) {
    imgctl::HandleTable table(INT32_MAX - 1);
    auto dib = std::make_shared<const imgctl::Dib>();
    EXPECT_EQ(table.add(dib), INT32_MAX - 1);
    EXPECT_EQ(table.add(dib), INT32_MAX);
    EXPECT_EQ(table.add(dib), 1);
    EXPECT_TRUE(table.remove(INT32_MAX));
    EXPECT_EQ(table.add(dib), 2);
    EXPECT_EQ(table.find(INT32_MAX), nullptr);
    EXPECT_EQ(table.find(INT32_MAX - 1), dib);
}

TEST(ImgctlHandleTable, RefusesNullAndUnknown) {
    imgctl::HandleTable table;
    EXPECT_EQ(table.add(nullptr), 0);
    EXPECT_EQ(table.find(0), nullptr);
    EXPECT_EQ(table.find(1), nullptr);
    EXPECT_FALSE(table.remove(1));
}

TEST(ImgctlHandles, SurviveUseFromSeveralThreads) {
    constexpr int kThreads = 4;
    constexpr int kRounds = 200;
    std::vector<std::vector<std::int32_t>> seen(kThreads);
    {
        std::vector<std::jthread> threads;
        for (int t = 0; t < kThreads; ++t)
            threads.emplace_back([&seen, t] {
                Canvas canvas(3, 3, 0xFF00FF00u);
                const ImgctlSurface surface = canvas.surface();
                for (int i = 0; i < kRounds; ++i) {
                    const std::int32_t handle = DCtoDIB(&surface, 0, 0, 0, 0);
                    seen[static_cast<std::size_t>(t)].push_back(handle);
                    std::array<std::uint8_t, IMGCTL_HEADER_SIZE> header{};
                    if (HeadDIB(handle, header.data()) == 0 || DeleteDIB(handle) == 0)
                        seen[static_cast<std::size_t>(t)].push_back(0);
                }
            });
    }
    std::vector<std::int32_t> all;
    for (const auto& list : seen)
        all.insert(all.end(), list.begin(), list.end());
    EXPECT_EQ(std::count(all.begin(), all.end(), 0), 0);
    std::sort(all.begin(), all.end());
    EXPECT_EQ(std::adjacent_find(all.begin(), all.end()), all.end());
}

// ---------------------------------------------------------------------------------------------
// Copies between DIBs and the caller's pixels

constexpr std::uint32_t kUntouched = 0x00ABCDEFu;

// Distinct colours with alpha 0, so a copy has to set the alpha itself.
std::uint32_t WithoutAlpha(int x, int y) {
    return static_cast<std::uint32_t>(x * 16 + y + 1);
}

// What DIBtoDC must leave in a canvas, worked out pixel by pixel: the canvas pixel at (cx, cy)
// shows DIB pixel (cx - x + srcX, cy - y + srcY) when that lies in the DIB and in the requested
// region, and is untouched otherwise.
std::uint32_t ExpectedAfterCopy(int cx, int cy, std::int64_t x, std::int64_t y, std::int64_t w,
                                std::int64_t h, int dibW, int dibH, std::int64_t srcX,
                                std::int64_t srcY) {
    const std::int64_t sx = cx - x + srcX;
    const std::int64_t sy = cy - y + srcY;
    const std::int64_t regionW = w == 0 ? dibW - srcX : w;
    const std::int64_t regionH = h == 0 ? dibH - srcY : h;
    const bool inRegion = sx >= srcX && sx < srcX + regionW && sy >= srcY && sy < srcY + regionH;
    const bool inDib = sx >= 0 && sx < dibW && sy >= 0 && sy < dibH;
    if (!inRegion || !inDib)
        return kUntouched;
    return 0xFF000000u | WithoutAlpha(static_cast<int>(sx), static_cast<int>(sy));
}

struct CopyCase {
    std::int32_t x, y, width, height, srcX, srcY;
};

class DibToDc : public ::testing::TestWithParam<CopyCase> {};

TEST_P(DibToDc, CopiesExactlyTheClippedRegion) {
    const CopyCase& c = GetParam();
    constexpr int kDibW = 7, kDibH = 5, kCanvasW = 9, kCanvasH = 6, kPadding = 3;
    Canvas source = PaintedCanvas(kDibW, kDibH, WithoutAlpha);
    const ImgctlSurface sourceSurface = source.surface();
    const Dib dib(DCtoDIB(&sourceSurface, 0, 0, 0, 0));
    ASSERT_TRUE(dib);

    // Padding past each row's end shows a copy that runs over the row.
    Canvas canvas(kCanvasW, kCanvasH, kUntouched, kPadding);
    const ImgctlSurface surface = canvas.surface();
    ASSERT_NE(DIBtoDC(&surface, c.x, c.y, c.width, c.height, dib.handle(), c.srcX, c.srcY,
                      IMGCTL_SRCCOPY),
              0);
    for (int cy = 0; cy < kCanvasH; ++cy) {
        for (int cx = 0; cx < kCanvasW; ++cx)
            ASSERT_EQ(canvas.at(cx, cy), ExpectedAfterCopy(cx, cy, c.x, c.y, c.width, c.height,
                                                           kDibW, kDibH, c.srcX, c.srcY))
                << "at " << cx << "," << cy;
        for (int cx = kCanvasW; cx < kCanvasW + kPadding; ++cx)
            ASSERT_EQ(canvas.at(cx, cy), kUntouched) << "padding at " << cx << "," << cy;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Imgctl, DibToDc,
    ::testing::Values(CopyCase{0, 0, 0, 0, 0, 0},     // whole DIB at the corner
                      CopyCase{3, 2, 0, 0, 0, 0},     // runs off right and bottom
                      CopyCase{-2, -1, 0, 0, 0, 0},   // runs off left and top
                      CopyCase{1, 1, 3, 2, 2, 1},     // a region from inside the DIB
                      CopyCase{0, 0, 0, 0, 5, 3},     // 0 means to the DIB's edge
                      CopyCase{2, 1, 20, 20, -3, -2}, // region larger than the DIB
                      CopyCase{0, 0, 4, 0, -2, 0},    // source region starts left of the DIB
                      CopyCase{9, 0, 0, 0, 0, 0},     // just off the canvas
                      CopyCase{0, 0, 0, 0, 7, 0},     // just off the DIB
                      CopyCase{0, 0, -3, 2, 0, 0},    // negative size copies nothing
                      CopyCase{INT32_MIN, INT32_MIN, 0, 0, 0, 0},
                      CopyCase{INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, 0, 0},
                      CopyCase{0, 0, INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN},
                      CopyCase{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN},
                      CopyCase{INT32_MAX, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN},
                      CopyCase{0, 0, 0, 0, INT32_MIN, INT32_MIN},
                      CopyCase{0, 0, 0, 0, INT32_MAX, INT32_MAX},
                      CopyCase{-1, -1, INT32_MAX, INT32_MAX, -1, -1},
                      CopyCase{INT32_MAX, 0, INT32_MIN, 0, INT32_MIN, 0}),
    [](const auto& info) {
        const CopyCase& c = info.param;
        return test_names::NameOf("At", c.x, "_", c.y, "Size", c.width, "x", c.height, "From",
                                  c.srcX, "_", c.srcY);
    });

// What DCtoDIB must produce: the region clipped to the canvas, as a DIB of that size.
struct RegionCase {
    std::int32_t x, y, width, height;
    int expectedX, expectedY, expectedW, expectedH; // the region of the canvas; 0 size: refused
};

class DcToDib : public ::testing::TestWithParam<RegionCase> {};

TEST_P(DcToDib, TakesTheRegionClippedToTheCanvas) {
    const RegionCase& c = GetParam();
    // No alpha in the canvas: the DIB's pixels must come out opaque all the same.
    Canvas canvas = PaintedCanvas(10, 8, WithoutAlpha);
    const ImgctlSurface surface = canvas.surface();
    const Dib dib(DCtoDIB(&surface, c.x, c.y, c.width, c.height));
    if (c.expectedW == 0) {
        EXPECT_FALSE(dib);
        return;
    }
    ASSERT_TRUE(dib);
    Canvas pixels = DibPixels(dib.handle());
    ASSERT_EQ(pixels.width, c.expectedW);
    ASSERT_EQ(pixels.height, c.expectedH);
    for (int y = 0; y < c.expectedH; ++y)
        for (int x = 0; x < c.expectedW; ++x)
            ASSERT_EQ(pixels.at(x, y),
                      0xFF000000u | WithoutAlpha(x + c.expectedX, y + c.expectedY));
}

INSTANTIATE_TEST_SUITE_P(
    Imgctl, DcToDib,
    ::testing::Values(RegionCase{0, 0, 0, 0, 0, 0, 10, 8}, RegionCase{2, 3, 4, 2, 2, 3, 4, 2},
                      RegionCase{6, 5, 0, 0, 6, 5, 4, 3}, RegionCase{-3, -2, 5, 4, 0, 0, 2, 2},
                      RegionCase{8, 6, 100, 100, 8, 6, 2, 2}, RegionCase{-5, -5, 0, 0, 0, 0, 10, 8},
                      RegionCase{10, 0, 0, 0, 0, 0, 0, 0}, RegionCase{0, 8, 0, 0, 0, 0, 0, 0},
                      RegionCase{-5, 0, 5, 0, 0, 0, 0, 0}, RegionCase{0, 0, -1, 1, 0, 0, 0, 0},
                      RegionCase{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 0, 0, 0, 0},
                      RegionCase{INT32_MIN, INT32_MIN, 0, 0, 0, 0, 10, 8},
                      RegionCase{INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, 0, 0, 0, 0},
                      RegionCase{-1, -1, INT32_MAX, INT32_MAX, 0, 0, 10, 8},
                      RegionCase{INT32_MAX, 0, INT32_MIN, 0, 0, 0, 0, 0}),
    [](const auto& info) {
        const RegionCase& c = info.param;
        return test_names::NameOf("At", c.x, "_", c.y, "Size", c.width, "x", c.height);
    });

struct MalformedSurface {
    const char* name;
    bool nullPixels;
    std::int32_t width, height, stride;
};

class SurfaceRefusal : public ::testing::TestWithParam<MalformedSurface> {};

TEST_P(SurfaceRefusal, IsRefusedBothWays) {
    const MalformedSurface& c = GetParam();
    std::vector<std::uint32_t> pixels(64, kUntouched);
    const ImgctlSurface surface{c.nullPixels ? nullptr : pixels.data(), c.width, c.height,
                                c.stride};
    const Dib dib = MakeDib(4, 4, FewColours);
    EXPECT_EQ(DIBtoDC(&surface, 0, 0, 0, 0, dib.handle(), 0, 0, IMGCTL_SRCCOPY), 0);
    EXPECT_EQ(DCtoDIB(&surface, 0, 0, 0, 0), 0);
    EXPECT_TRUE(
        std::all_of(pixels.begin(), pixels.end(), [](std::uint32_t p) { return p == kUntouched; }));
}

INSTANTIATE_TEST_SUITE_P(Imgctl, SurfaceRefusal,
                         ::testing::Values(MalformedSurface{"NullPixels", true, 4, 4, 4},
                                           MalformedSurface{"NegativeWidth", false, -1, 4, 4},
                                           MalformedSurface{"NegativeHeight", false, 4, -4, 4},
                                           MalformedSurface{"StrideBelowWidth", false, 4, 4, 3},
                                           MalformedSurface{"NegativeStride", false, 4, 4, -4},
                                           MalformedSurface{"MinimumWidth", false, INT32_MIN, 4,
                                                            4}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ImgctlCopies, NullSurfaceAndOtherRasterOperationsAreRefused) {
    const Dib dib = MakeDib(4, 4, FewColours);
    Canvas canvas(4, 4, kUntouched);
    const ImgctlSurface surface = canvas.surface();
    EXPECT_EQ(DIBtoDC(nullptr, 0, 0, 0, 0, dib.handle(), 0, 0, IMGCTL_SRCCOPY), 0);
    EXPECT_EQ(DCtoDIB(nullptr, 0, 0, 0, 0), 0);
    for (std::uint32_t rop : {0u, 0x00EE0086u, 0x008800C6u, ~IMGCTL_SRCCOPY})
        EXPECT_EQ(DIBtoDC(&surface, 0, 0, 0, 0, dib.handle(), 0, 0, rop), 0);
    EXPECT_EQ(canvas.at(0, 0), kUntouched);
}

TEST(ImgctlCopies, EmptySurfaceGivesNoDibButTakesACopy) {
    std::uint32_t pixel = kUntouched;
    const ImgctlSurface empty{&pixel, 0, 0, 0};
    EXPECT_EQ(DCtoDIB(&empty, 0, 0, 0, 0), 0);
    const Dib dib = MakeDib(4, 4, FewColours);
    EXPECT_NE(DIBtoDC(&empty, 0, 0, 0, 0, dib.handle(), 0, 0, IMGCTL_SRCCOPY), 0);
    EXPECT_EQ(pixel, kUntouched);
}

TEST(ImgctlCopies, RegionBeyondTheSizeLimitGivesNoDib) {
    Canvas canvas(IMGCTL_MAX_SIDE + 1, 1, 0);
    const ImgctlSurface surface = canvas.surface();
    EXPECT_EQ(DCtoDIB(&surface, 0, 0, 0, 0), 0);
    const Dib widest(DCtoDIB(&surface, 1, 0, 0, 0));
    EXPECT_TRUE(widest);
}

} // namespace
} // namespace tidepool
