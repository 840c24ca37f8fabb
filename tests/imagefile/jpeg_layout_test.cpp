// The scans and frame a JPEG's markers declare, read without decoding: what the decoding budget
// is reckoned from.
#include "imagefile/jpeg_layout.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace tidepool {
namespace {

std::string Segment(unsigned char code, const std::string& payload) {
    const std::size_t length = payload.size() + 2;
    return std::string{'\xFF', static_cast<char>(code), static_cast<char>(length >> 8),
                       static_cast<char>(length & 0xFF)} +
           payload;
}

// A frame of the given size with one component per sampling byte (0x22 for 2 x 2).
std::string Frame(unsigned char code, int width, int height, const std::string& samplings) {
    std::string payload{'\x08',
                        static_cast<char>(height >> 8),
                        static_cast<char>(height & 0xFF),
                        static_cast<char>(width >> 8),
                        static_cast<char>(width & 0xFF),
                        static_cast<char>(samplings.size())};
    for (std::size_t i = 0; i < samplings.size(); ++i)
        payload += std::string{static_cast<char>(i + 1), samplings[i], '\0'};
    return Segment(code, payload);
}

const std::string kStart("\xFF\xD8", 2);
const std::string kEnd("\xFF\xD9", 2);
const std::string kTables = Segment(0xDB, std::string(65, '\x01')) + // quantisation
                            Segment(0xC4, std::string(17, '\0'));    // Huffman
const std::string kScanHeader = Segment(0xDA, std::string("\x01\x01\x00\x00\x3F\x00", 6));

std::optional<JpegLayout> Read(const std::string& bytes) {
    std::istringstream in(bytes);
    return ReadJpegLayout(in);
}

struct ScanCase {
    const char* name;
    std::string afterFrame; // everything after the frame header
    std::int64_t scans;
};

class CountsScans : public ::testing::TestWithParam<ScanCase> {};

TEST_P(CountsScans, AsADecoderMeetsThem) {
    const std::optional<JpegLayout> layout =
        Read(kStart + kTables + Frame(0xC2, 640, 480, "\x22\x11\x11") + GetParam().afterFrame);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->scans, GetParam().scans);
    EXPECT_EQ(layout->width, 640);
    EXPECT_EQ(layout->height, 480);
    EXPECT_TRUE(layout->progressive);
}

std::string Repeated(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

// In entropy-coded data 0xFF 0x00 is a data byte and a restart marker belongs to the scan; only
// another marker ends it. Fill bytes (extra 0xFF) may stand before any marker.
INSTANTIATE_TEST_SUITE_P(
    Markers, CountsScans,
    ::testing::Values(
        ScanCase{"One", kScanHeader + "\x12\x34" + kEnd, 1},
        ScanCase{"StuffedBytesAndRestartsStayInTheScan",
                 kScanHeader + std::string("\x12\xFF\x00\x34\xFF\xD0\x56\xFF\xD7\xFF\x00", 11) +
                     kEnd,
                 1},
        ScanCase{"ATableBetweenScans",
                 kScanHeader + "\x01" + Segment(0xC4, std::string(17, '\0')) + kScanHeader +
                     "\x02" + kEnd,
                 2},
        ScanCase{"FillBytesBeforeAMarker",
                 kScanHeader + "\x01" + std::string("\xFF\xFF\xFF", 3) + kScanHeader.substr(1) +
                     "\x02" + kEnd,
                 2},
        ScanCase{"OneRepeatedAThousandTimes", Repeated(kScanHeader + "\x7F", 1000) + kEnd, 1000},
        ScanCase{"NoneAfterTheEndOfTheImage",
                 kScanHeader + "\x01" + kEnd + Repeated(kScanHeader + "\x7F", 50), 1},
        ScanCase{"UpToTheEndOfTheData", Repeated(kScanHeader + "\x7F", 3), 3},
        ScanCase{"StrayBytesBetweenSegmentsSkipped",
                 std::string("junk") + kScanHeader + "\x01" + kEnd, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(JpegLayout, ASequentialFrameIsNotProgressive) {
    const auto layout = Read(kStart + Frame(0xC0, 16, 8, "\x11") + kScanHeader + "\x01" + kEnd);
    ASSERT_TRUE(layout);
    EXPECT_FALSE(layout->progressive);
    EXPECT_EQ(layout->components.size(), 1u);
}

struct Unreadable {
    const char* name;
    std::string bytes;
};

class RefusesLayout : public ::testing::TestWithParam<Unreadable> {};

TEST_P(RefusesLayout, WhenNoDecoderWouldGetAsFarAsAScan) {
    EXPECT_FALSE(Read(GetParam().bytes));
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusesLayout,
    ::testing::Values(
        Unreadable{"Empty", ""}, Unreadable{"NotAJpeg", "\x89PNG\r\n"},
        Unreadable{"ScanBeforeTheFrame", kStart + kScanHeader + "\x01" + kEnd},
        Unreadable{"NoFrame", kStart + kTables + kEnd},
        Unreadable{"FrameLengthWrong",
                   kStart + Segment(0xC0, std::string("\x08\x00\x10\x00\x10\x03", 6)) + kEnd},
        Unreadable{"SecondStartOfImage", kStart + Frame(0xC0, 16, 16, "\x11") + kStart + kEnd}),
    [](const auto& info) { return std::string(info.param.name); });

struct CoefficientCase {
    const char* name;
    JpegLayout layout;
    std::int64_t bytes;
};

class HoldsCoefficients : public ::testing::TestWithParam<CoefficientCase> {};

TEST_P(HoldsCoefficients, ForEveryBlockWhenItNeedsThemAllAtOnce) {
    EXPECT_EQ(JpegCoefficientBytes(GetParam().layout), GetParam().bytes);
}

// 8192 x 8192 in 4:2:0 has 1024 x 1024 luma blocks and 512 x 512 of each chroma; 17 x 9 pixels
// pad to whole 2 x 2 units of luma (4 x 2 blocks) and one chroma block each.
INSTANTIATE_TEST_SUITE_P(
    Frames, HoldsCoefficients,
    ::testing::Values(
        CoefficientCase{"Progressive420",
                        {8192, 8192, true, {{2, 2}, {1, 1}, {1, 1}}, 10},
                        (1024 * 1024 + 2 * 512 * 512) * 128},
        CoefficientCase{"Progressive444",
                        {8192, 8192, true, {{1, 1}, {1, 1}, {1, 1}}, 10},
                        3 * 1024 * 1024 * 128},
        CoefficientCase{"ProgressiveGrey", {8192, 8192, true, {{1, 1}}, 6}, 1024 * 1024 * 128},
        CoefficientCase{"PaddedToWholeUnits",
                        {17, 9, true, {{2, 2}, {1, 1}, {1, 1}}, 10},
                        (4 * 2 + 2 * 2) * 128},
        CoefficientCase{
            "SequentialInSeveralScans", {16, 16, false, {{1, 1}, {1, 1}}, 2}, 2 * 4 * 128},
        CoefficientCase{
            "SequentialInOneScan", {8192, 8192, false, {{2, 2}, {1, 1}, {1, 1}}, 1}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace tidepool
