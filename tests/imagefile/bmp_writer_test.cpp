#include "imagefile/bmp_writer.h"

#include "tests/support/bmp_decoder.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/test_name.h"

#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>
#include <tuple>

namespace tidepool {
namespace {

using testing::DecodeBmp;

// The three channels vary with x and y in different ways, so a swapped channel, a shifted row or
// a flipped picture all show.
Pixel PatternPixel(int x, int y) {
    const unsigned r = (x * 7 + y * 3) & 0xFF;
    const unsigned g = (x * 13 + 91) & 0xFF;
    const unsigned b = (y * 29 + x + 5) & 0xFF;
    return 0xFF000000u | r << 16 | g << 8 | b;
}

DrawingSurface PatternSurface(int width, int height) {
    DrawingSurface surface(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            surface.pixels()[static_cast<std::size_t>(y) * width + x] = PatternPixel(x, y);
    return surface;
}

std::string Encode(const DrawingSurface& surface) {
    std::ostringstream out;
    const WriteResult result = WriteBmp(surface, out);
    EXPECT_TRUE(result.ok()) << result.error();
    return out.str();
}

class BmpRoundTrip : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(BmpRoundTrip, HeadersDescribeAPaddedBottomUp24BitImage) {
    const auto [width, height] = GetParam();
    const std::string bytes = Encode(PatternSurface(width, height));
    const auto bmp = DecodeBmp(bytes);
    ASSERT_TRUE(bmp);

    const std::uint32_t stride = (3 * width + 3) / 4 * 4;
    EXPECT_EQ(bytes.size(), 54u + stride * height);
    EXPECT_EQ(bmp->fileSize, bytes.size());
    EXPECT_EQ(bmp->pixelOffset, 54u);
    EXPECT_EQ(bmp->infoSize, 40u);
    EXPECT_EQ(bmp->width, width);
    EXPECT_EQ(bmp->height, height); // positive height: bottom row first
    EXPECT_EQ(bmp->planes, 1);
    EXPECT_EQ(bmp->bitsPerPixel, 24);
    EXPECT_EQ(bmp->compression, 0u);
    EXPECT_EQ(bmp->imageSize, stride * height);
    EXPECT_TRUE(bmp->paddingIsZero);
}

TEST_P(BmpRoundTrip, EveryPixelComesBackExactly) {
    const auto [width, height] = GetParam();
    const auto bmp = DecodeBmp(Encode(PatternSurface(width, height)));
    ASSERT_TRUE(bmp);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            ASSERT_EQ(bmp->at(x, y), PatternPixel(x, y) & 0xFFFFFFu) << "at " << x << ", " << y;
}

// Widths 1 to 4 cover every amount of row padding; 241 is an odd wallpaper width.
INSTANTIATE_TEST_SUITE_P(Sizes, BmpRoundTrip,
                         ::testing::Combine(::testing::Values(1, 2, 3, 4, 5, 241),
                                            ::testing::Values(1, 2, 7)),
                         [](const auto& info) {
                             return test_names::NameOf(std::get<0>(info.param), "x",
                                                       std::get<1>(info.param));
                         });

TEST(BmpWriter, APictureOfSeveralChunksComesBackExactly) {
    const auto bmp = DecodeBmp(Encode(PatternSurface(2401, 300)));
    ASSERT_TRUE(bmp);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 2401; ++x)
            ASSERT_EQ(bmp->at(x, y), PatternPixel(x, y) & 0xFFFFFFu) << "at " << x << ", " << y;
}

TEST(BmpWriter, StoresTheBottomRowFirstInBlueGreenRedOrder) {
    DrawingSurface surface(1, 2);
    surface.pixels()[0] = 0xFF112233; // top
    surface.pixels()[1] = 0xFFAABBCC; // bottom
    const std::string bytes = Encode(surface);
    ASSERT_EQ(bytes.size(), 54u + 2 * 4);
    EXPECT_EQ(bytes.substr(54, 4), std::string("\xCC\xBB\xAA\0", 4));
    EXPECT_EQ(bytes.substr(58, 4), std::string("\x33\x22\x11\0", 4));
}

TEST(BmpWriter, RefusesAnEmptySurface) {
    std::ostringstream out;
    EXPECT_FALSE(WriteBmp(DrawingSurface(0, 5), out).ok());
    EXPECT_FALSE(WriteBmp(DrawingSurface(5, 0), out).ok());
}

// Accepts a fixed number of bytes, then fails like a full disk.
class FullAfter : public std::streambuf {
  public:
    explicit FullAfter(std::size_t room) : room_(room) {}

  protected:
    std::streamsize xsputn(const char*, std::streamsize n) override {
        const auto taken = std::min<std::streamsize>(n, static_cast<std::streamsize>(room_));
        room_ -= static_cast<std::size_t>(taken);
        return taken;
    }
    int_type overflow(int_type) override { return traits_type::eof(); }

  private:
    std::size_t room_;
};

class BmpStreamFailure : public ::testing::TestWithParam<std::size_t> {};

TEST_P(BmpStreamFailure, IsReportedWhereverItHappens) {
    FullAfter buffer(GetParam());
    std::ostream out(&buffer);
    EXPECT_FALSE(WriteBmp(PatternSurface(3, 3), out).ok());
}

// In the file header, in the info header, in the first row and in the last row.
INSTANTIATE_TEST_SUITE_P(Offsets, BmpStreamFailure, ::testing::Values(0, 20, 60, 80),
                         [](const auto& info) {
                             return test_names::NameOf("FullAfter", info.param);
                         });

TEST(BmpWriter, WritesAFileThatReadsBack) {
    testing::ScratchFolder folder;
    const auto path = folder / "out.bmp";
    const DrawingSurface surface = PatternSurface(3, 2);
    ASSERT_TRUE(WriteBmp(surface, path).ok());
    EXPECT_EQ(testing::ReadWholeFile(path), Encode(surface));
}

TEST(BmpWriter, ReportsAFullDisk) {
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    const WriteResult result = WriteBmp(PatternSurface(64, 64), "/dev/full");
    EXPECT_FALSE(result.ok());
}

TEST(BmpWriter, ReportsAFolderThatDoesNotExist) {
    testing::ScratchFolder folder;
    const WriteResult result = WriteBmp(PatternSurface(2, 2), folder / "missing" / "out.bmp");
    EXPECT_FALSE(result.ok());
    EXPECT_FALSE(result.error().empty());
}

} // namespace
} // namespace tidepool
