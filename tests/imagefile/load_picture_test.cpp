#include "imagefile/codec_writer.h"
#include "imagefile/load_picture.h"
#include "imagefile/picture_file_services.h"

#include "tests/support/file_bytes.h"
#include "tests/support/png_chunks.h"
#include "tests/support/qt_picture.h"
#include "tests/support/scratch_folder.h"

#include <gtest/gtest.h>

#include <QImageWriter>

#include <fstream>
#include <zlib.h>

namespace tidepool {
namespace {

using testing::AsQImage;
using testing::BigEndian32;
using testing::kPngSignature;
using testing::LargestChannelDifference;
using testing::PatternedSurface;
using testing::PngChunk;
using testing::QtPath;
using testing::ReadWholeFile;
using testing::ScratchFolder;
using testing::WriteWholeFile;

constexpr int kWidth = 13; // odd sizes catch row padding and transposition faults
constexpr int kHeight = 7;
constexpr Pixel kEarlierColour = 0xFF123456u;

enum class Content {
    None,
    Folder,
    Png,
    Bmp,
    BmpIndexed,
    BmpMono,
    Jpeg,
    JpegGrey,
    Gif,
    Ico,
    Text,
    Empty,
    JpegHead,
    HugeBmp,
    WideGif,
    PngDamagedImage,
};
enum class Holds { Unchanged, NewPicture, Cleared, ClearedAtNewSize };

struct LoadCase {
    std::string name;
    std::string file;
    Content content;
    bool codecPresent;
    std::int16_t result;
    Holds holds;
};

void PrintTo(const LoadCase& c, std::ostream* os) {
    *os << c.name;
}

// A BMP header that claims 20000 x 20000 pixels and holds none of them.
std::string HugeBmpHeader() {
    std::string bytes(54, '\0');
    const auto put32 = [&bytes](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<char>(value >> (8 * i));
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, 54);
    put32(10, 54);
    put32(14, 40);
    put32(18, 20000);
    put32(22, 20000);
    bytes[26] = 1;
    bytes[28] = 24;
    return bytes;
}

// A GIF of 6000 x 5000 pixels in a few bytes, all but the first left to the background. With the
// decoder's own frame and the copy it may keep, 8 bytes a pixel, beside the picture's 4, it needs
// 360 MB: beyond the budget, so refused before anything is allocated.
std::string WideGif() {
    const std::string size("\x70\x17\x88\x13", 4);
    return "GIF89a" + size + std::string("\x80\0\0\0\0\0\xFF\xFF\xFF\x2C\0\0\0\0", 14) + size +
           std::string("\0\x02\x02\x44\x01\0\x3B", 7);
}

// A PNG whole in every chunk and checksum, whose image data breaks off into bytes no inflater
// takes just before its last row: only decoding finds out.
std::string PngWithDamagedImageData() {
    std::string rows;
    for (int y = 0; y < kHeight; ++y)
        rows += '\0' + std::string(3 * kWidth, '\x50');
    z_stream z{};
    deflateInit(&z, Z_BEST_COMPRESSION);
    std::string stream(compressBound(static_cast<uLong>(rows.size())) + 16, '\0');
    z.next_in = reinterpret_cast<Bytef*>(rows.data());
    z.avail_in = static_cast<uInt>(rows.size() - (3 * kWidth + 1));
    z.next_out = reinterpret_cast<Bytef*>(stream.data());
    z.avail_out = static_cast<uInt>(stream.size());
    deflate(&z, Z_SYNC_FLUSH);
    stream.resize(stream.size() - z.avail_out);
    deflateEnd(&z);
    stream += std::string(16, '\xFF');
    const std::string header =
        BigEndian32(kWidth) + BigEndian32(kHeight) + std::string("\x08\x02\x00\x00\x00", 5);
    return kPngSignature + PngChunk("IHDR", header) + PngChunk("IDAT", stream) +
           PngChunk("IEND", "");
}

// Black and white only, so a one-bit file holds it exactly.
DrawingSurface TwoColourPicture() {
    DrawingSurface picture(kWidth, kHeight);
    for (int i = 0; i < kWidth * kHeight; ++i)
        picture.pixels()[i] = (i * 7 % 5) < 2 ? 0xFF000000u : 0xFFFFFFFFu;
    return picture;
}

// JPEG gets a flat picture: its blocks would blur a pattern beyond any useful bound.
DrawingSurface SourcePicture(Content content) {
    DrawingSurface flat(kWidth, kHeight);
    switch (content) {
    case Content::Jpeg:
        std::fill_n(flat.pixels(), kWidth * kHeight, 0xFF3C78B4u);
        return flat;
    case Content::JpegGrey:
        std::fill_n(flat.pixels(), kWidth * kHeight, 0xFF6E6E6Eu);
        return flat;
    case Content::BmpMono:
        return TwoColourPicture();
    default:
        return PatternedSurface(kWidth, kHeight);
    }
}

void CreateContent(const std::filesystem::path& path, Content content, CodecLibrary& codec) {
    const QImage picture = AsQImage(SourcePicture(content));
    switch (content) {
    case Content::None:
        return;
    case Content::Folder:
        std::filesystem::create_directory(path);
        return;
    case Content::Png:
        ASSERT_TRUE(picture.save(QtPath(path), "PNG"));
        return;
    case Content::Bmp:
        ASSERT_TRUE(picture.save(QtPath(path), "BMP"));
        return;
    case Content::BmpIndexed:
        ASSERT_TRUE(picture.convertToFormat(QImage::Format_Indexed8).save(QtPath(path), "BMP"));
        return;
    case Content::BmpMono:
        ASSERT_TRUE(picture.convertToFormat(QImage::Format_Mono).save(QtPath(path), "BMP"));
        return;
    case Content::Jpeg:
        ASSERT_TRUE(picture.save(QtPath(path), "JPEG", 100));
        return;
    case Content::JpegGrey:
        ASSERT_TRUE(
            picture.convertToFormat(QImage::Format_Grayscale8).save(QtPath(path), "JPEG", 100));
        return;
    case Content::PngDamagedImage:
        WriteWholeFile(path, PngWithDamagedImageData());
        return;
    case Content::Ico:
        ASSERT_TRUE(picture.save(QtPath(path), "ICO"));
        return;
    case Content::Gif: // Qt reads GIF but cannot write it
        ASSERT_TRUE(WriteWithCodec(codec, CodecFormat::Gif, SourcePicture(content), path).ok());
        return;
    case Content::Text:
        WriteWholeFile(path, "not a picture at all");
        return;
    case Content::Empty:
        WriteWholeFile(path, "");
        return;
    case Content::JpegHead: {
        ASSERT_TRUE(picture.save(QtPath(path), "JPEG", 100));
        WriteWholeFile(path, ReadWholeFile(path).substr(0, 20));
        return;
    }
    case Content::HugeBmp:
        WriteWholeFile(path, HugeBmpHeader());
        return;
    case Content::WideGif:
        WriteWholeFile(path, WideGif());
        return;
    }
}

DrawingSurface EarlierPicture() {
    DrawingSurface earlier(2, 3);
    std::fill_n(earlier.pixels(), 6, kEarlierColour);
    return earlier;
}

class LoadPictureOutcome : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadPictureOutcome, ReturnsAndLeavesWhatTheTableSays) {
    const LoadCase& c = GetParam();
    ScratchFolder folder;
    ScratchFolder emptyProgramFolder;
    CodecLibrary present(TIDEPOOL_PLUGIN_DIR);
    CodecLibrary absent(emptyProgramFolder.path());
    CodecLibrary& codec = c.codecPresent ? present : absent;
    const auto path = folder / c.file;
    CreateContent(path, c.content, present);

    DrawingSurface target = EarlierPicture();
    EXPECT_EQ(LoadPictureFile(target, path.string(), codec), c.result);

    switch (c.holds) {
    case Holds::Unchanged:
        ASSERT_EQ(target.width(), 2);
        ASSERT_EQ(target.height(), 3);
        EXPECT_EQ(target.pixel(1, 2), kEarlierColour);
        break;
    case Holds::Cleared:
        ASSERT_EQ(target.width(), 2);
        EXPECT_EQ(target.pixel(1, 2), toPixel(target.backColor()));
        break;
    case Holds::ClearedAtNewSize:
        ASSERT_EQ(target.width(), kWidth);
        ASSERT_EQ(target.height(), kHeight);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                ASSERT_EQ(target.pixel(x, y), toPixel(target.backColor())) << x << "," << y;
        break;
    case Holds::NewPicture: {
        ASSERT_EQ(target.width(), kWidth);
        ASSERT_EQ(target.height(), kHeight);
        const int tolerance = c.content == Content::Jpeg || c.content == Content::JpegGrey ? 3 : 0;
        EXPECT_LE(LargestChannelDifference(AsQImage(target), AsQImage(SourcePicture(c.content))),
                  tolerance);
        break;
    }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoadPictureOutcome,
    ::testing::Values(
        LoadCase{"NoFile", "missing.png", Content::None, true, -1, Holds::Unchanged},
        LoadCase{"FolderNamedPng", "folder.png", Content::Folder, true, -1, Holds::Unchanged},
        LoadCase{"Png", "good.png", Content::Png, true, 0, Holds::NewPicture},
        LoadCase{"PngUpperCase", "good.PNG", Content::Png, true, 0, Holds::NewPicture},
        LoadCase{"PngMixedCase", "good.Png", Content::Png, true, 0, Holds::NewPicture},
        LoadCase{"PngWithoutPlugIn", "good.png", Content::Png, false, -1, Holds::Unchanged},
        LoadCase{"CorruptPng", "bad.png", Content::Text, true, -1, Holds::Cleared},
        LoadCase{"BmpNamedPng", "bitmap.png", Content::Bmp, true, -1, Holds::Cleared},
        LoadCase{"PngNamedBmp", "png.bmp", Content::Png, true, -1, Holds::Unchanged},
        LoadCase{"PngNamedPngx", "png.pngx", Content::Png, true, -1, Holds::Unchanged},
        LoadCase{"Bmp", "good.bmp", Content::Bmp, false, 0, Holds::NewPicture},
        LoadCase{"BmpNamedJpg", "bitmap.jpg", Content::Bmp, false, 0, Holds::NewPicture},
        LoadCase{"BmpIndexed", "indexed.bmp", Content::BmpIndexed, false, 0, Holds::NewPicture},
        LoadCase{"BmpOneBit", "mono.bmp", Content::BmpMono, false, 0, Holds::NewPicture},
        LoadCase{"Jpeg", "good.jpeg", Content::Jpeg, false, 0, Holds::NewPicture},
        LoadCase{"JpegGrey", "grey.jpg", Content::JpegGrey, false, 0, Holds::NewPicture},
        LoadCase{"PngDamagedInItsImageData", "damaged.png", Content::PngDamagedImage, true, -1,
                 Holds::ClearedAtNewSize},
        LoadCase{"Gif", "good.gif", Content::Gif, false, 0, Holds::NewPicture},
        LoadCase{"Ico", "good.ico", Content::Ico, false, 0, Holds::NewPicture},
        LoadCase{"BrokenJpeg", "broken.jpg", Content::JpegHead, true, -1, Holds::Unchanged},
        LoadCase{"EmptyJpeg", "empty.jpg", Content::Empty, true, -1, Holds::Unchanged},
        LoadCase{"HugeBmpHeader", "huge.bmp", Content::HugeBmp, true, -1, Holds::Unchanged},
        LoadCase{"GifBeyondTheDecodeBudget", "wide.gif", Content::WideGif, false, -1,
                 Holds::Unchanged}),
    [](const auto& info) { return info.param.name; });

// A flat progressive JPEG as encoders make it (ten scans), with its last scan repeated until the
// file holds `scans`: a decoder goes through every block again for each one.
std::string ProgressiveJpegOfScans(int side, int scans) {
    ScratchFolder folder;
    QImage flat(side, side, QImage::Format_RGB32);
    flat.fill(0xFF3C78B4u);
    QImageWriter writer(QtPath(folder / "p.jpg"), "jpeg");
    writer.setProgressiveScanWrite(true);
    EXPECT_TRUE(writer.write(flat));
    const std::string file = ReadWholeFile(folder / "p.jpg");
    const std::size_t last = file.rfind("\xFF\xDA");
    const std::string scan = file.substr(last, file.size() - 2 - last);
    std::string repeated = file.substr(0, file.size() - 2);
    for (int i = 10; i < scans; ++i)
        repeated += scan;
    return repeated + "\xFF\xD9";
}

struct ScanBudgetCase {
    const char* name;
    int scans;
    bool loads;
};

class JpegScanBudget : public ::testing::TestWithParam<ScanBudgetCase> {};

// 1 M pixels: a hundred scans are within the budget, eleven hundred (1.1 G pixel passes, a minute
// of decoding at 8192 x 8192) are refused before decoding, the earlier picture kept.
TEST_P(JpegScanBudget, DecidesBeforeDecoding) {
    ScratchFolder folder;
    CodecLibrary codec(TIDEPOOL_PLUGIN_DIR);
    WriteWholeFile(folder / "scans.jpg", ProgressiveJpegOfScans(1024, GetParam().scans));
    DrawingSurface target = EarlierPicture();
    EXPECT_EQ(LoadPictureFile(target, (folder / "scans.jpg").string(), codec),
              GetParam().loads ? kPictureLoaded : kPictureLoadFailed);
    EXPECT_EQ(target.width(), GetParam().loads ? 1024 : 2);
    if (GetParam().loads)
        EXPECT_LE(testing::ChannelDifference(target.pixel(1, 1), 0xFF3C78B4u), 3);
    else
        EXPECT_EQ(target.pixel(1, 1), kEarlierColour);
}

INSTANTIATE_TEST_SUITE_P(Scans, JpegScanBudget,
                         ::testing::Values(ScanBudgetCase{"AsEncodersMakeThem", 10, true},
                                           ScanBudgetCase{"AHundred", 100, true},
                                           ScanBudgetCase{"ElevenHundred", 1100, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// The widest and tallest picture allowed, and one pixel more, through the plug-in (PNG) and the
// platform's loader (the rest).
struct SizeLimitCase {
    const char* name;
    const char* extension;
    int width;
    int height;
    bool loads;
};

class PictureAtTheSizeLimit : public ::testing::TestWithParam<SizeLimitCase> {};

TEST_P(PictureAtTheSizeLimit, LoadsUpToItAndNotBeyond) {
    const SizeLimitCase& c = GetParam();
    ScratchFolder folder;
    CodecLibrary codec(TIDEPOOL_PLUGIN_DIR);
    const auto path = folder / (std::string("limit") + c.extension);
    DrawingSurface picture(c.width, c.height);
    std::fill_n(picture.pixels(), std::size_t{1} * c.width * c.height, 0xFF3C78B4u);
    picture.pixels()[0] = 0xFFFFFFFFu; // the first pixel white, to tell the ends apart
    if (std::string(c.extension) == ".gif")
        ASSERT_TRUE(WriteWithCodec(codec, CodecFormat::Gif, picture, path).ok());
    else
        ASSERT_TRUE(AsQImage(picture).save(QtPath(path), nullptr, 100));

    DrawingSurface target = EarlierPicture();
    EXPECT_EQ(LoadPictureFile(target, path.string(), codec),
              c.loads ? kPictureLoaded : kPictureLoadFailed);
    if (!c.loads)
        return;
    ASSERT_EQ(target.width(), c.width);
    ASSERT_EQ(target.height(), c.height);
    EXPECT_LE(testing::ChannelDifference(target.pixel(0, 0), 0xFFFFFFFFu), 48);
    EXPECT_LE(testing::ChannelDifference(target.pixel(c.width - 1, c.height - 1), 0xFF3C78B4u), 8);
}

INSTANTIATE_TEST_SUITE_P(Sizes, PictureAtTheSizeLimit,
                         ::testing::Values(SizeLimitCase{"PngWidest", ".png", 16384, 1, true},
                                           SizeLimitCase{"PngTallest", ".png", 1, 16384, true},
                                           SizeLimitCase{"PngTooWide", ".png", 16385, 1, false},
                                           SizeLimitCase{"BmpWidest", ".bmp", 16384, 1, true},
                                           SizeLimitCase{"BmpTallest", ".bmp", 1, 16384, true},
                                           SizeLimitCase{"BmpTooWide", ".bmp", 16385, 1, false},
                                           SizeLimitCase{"JpegWidest", ".jpg", 16384, 1, true},
                                           SizeLimitCase{"JpegTooTall", ".jpg", 1, 16385, false},
                                           SizeLimitCase{"GifWidest", ".gif", 16384, 1, true},
                                           SizeLimitCase{"GifTallest", ".gif", 1, 16384, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// Restores the current folder whatever the test does.
class InFolder {
  public:
    explicit InFolder(const std::filesystem::path& folder)
        : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~InFolder() { std::filesystem::current_path(previous_); }

  private:
    std::filesystem::path previous_;
};

TEST(LoadPictureFile, ARelativePngPathIsReadFromTheCurrentFolderWhichStaysCurrent) {
    ScratchFolder folder;
    CodecLibrary codec(TIDEPOOL_PLUGIN_DIR);
    ASSERT_TRUE(AsQImage(PatternedSurface(kWidth, kHeight)).save(QtPath(folder / "rel.png")));
    InFolder inside(folder.path());
    DrawingSurface target;
    EXPECT_EQ(LoadPictureFile(target, "rel.png", codec), kPictureLoaded);
    EXPECT_EQ(target.width(), kWidth);
    EXPECT_EQ(std::filesystem::current_path(), folder.path());
}

// The window takes a relative picture path from the folder that was current when it asked for the
// drawing, the command line from the current folder, which it names by giving none. Both folder
// names hold what a shell would act on.
TEST(PictureFileServices, TakeARelativePathFromTheFolderGivenOrTheCurrentOne) {
    ScratchFolder scratch;
    const auto given = scratch / "given $HOME `x`;'\"ü";
    const auto current = scratch / "current ;$(x) ü";
    const std::string name = "pic $x;'.png";
    for (const auto& [folder, width] : {std::pair{given, 3}, std::pair{current, 5}}) {
        std::filesystem::create_directory(folder);
        ASSERT_TRUE(AsQImage(PatternedSurface(width, 2)).save(QtPath(folder / name)));
    }
    CodecLibrary codec(TIDEPOOL_PLUGIN_DIR, CodecLibrary::CallFolder::Current);
    InFolder inside(current);
    for (const auto& [folder, width] :
         {std::pair{given, 3}, std::pair{std::filesystem::path(), 5}}) {
        const DrawJobServices services = PictureFileServices(codec, folder, {});
        EXPECT_TRUE(services.fileExists(name));
        EXPECT_FALSE(services.fileExists("")) << "an empty path names the folder";
        DrawingSurface target;
        EXPECT_EQ(services.loadPicture(target, name), kPictureLoaded);
        EXPECT_EQ(target.width(), width);
    }
}

TEST(WriteWithCodec, WritesARelativePathInTheCurrentFolderWhichStaysCurrent) {
    ScratchFolder folder;
    CodecLibrary codec(TIDEPOOL_PLUGIN_DIR);
    InFolder inside(folder.path());
    const WriteResult written =
        WriteWithCodec(codec, CodecFormat::Png, PatternedSurface(3, 2), "rel.png");
    EXPECT_TRUE(written.ok()) << written.error();
    EXPECT_EQ(std::filesystem::current_path(), folder.path());
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / "rel.png"));
}

TEST(CodecLibrary, AFileThatIsNoLibraryFailsLoadsAndSavesWithAReason) {
    ScratchFolder programFolder;
    ScratchFolder folder;
    WriteWholeFile(programFolder / std::string(kCodecLibraryFileName), "not a library");
    CodecLibrary codec(programFolder.path());
    ASSERT_TRUE(codec.present());
    ASSERT_TRUE(AsQImage(PatternedSurface(3, 2)).save(QtPath(folder / "a.png")));

    DrawingSurface target = EarlierPicture();
    EXPECT_EQ(LoadPictureFile(target, (folder / "a.png").string(), codec), kPictureLoadFailed);
    EXPECT_EQ(target.pixel(0, 0), kEarlierColour);
    const WriteResult written =
        WriteWithCodec(codec, CodecFormat::Png, PatternedSurface(3, 2), folder / "b.png");
    EXPECT_FALSE(written.ok());
    EXPECT_NE(written.error().find("cannot load the codec plug-in"), std::string::npos);
}

TEST(CodecLibrary, IsPresentOnlyWhileItsFileIsThere) {
    ScratchFolder programFolder;
    CodecLibrary codec(programFolder.path());
    EXPECT_FALSE(codec.present());
    std::filesystem::copy_file(std::filesystem::path(TIDEPOOL_PLUGIN_DIR) /
                                   std::string(kCodecLibraryFileName),
                               programFolder / std::string(kCodecLibraryFileName));
    EXPECT_TRUE(codec.present());
    std::filesystem::remove(programFolder / std::string(kCodecLibraryFileName));
    EXPECT_FALSE(codec.present());
}

// Where an installed program keeps the plug-in and where a build tree keeps it: a prefix with the
// program in bin, the plug-in copied into the installed library folder, beside the program, or
// both.
enum class Found { InLibraryFolder, BesideProgram, Nowhere };

struct PlugInPlace {
    std::string name;
    bool inLibraryFolder;
    bool besideProgram;
    Found found;
};

class CodecLibraryLookup : public ::testing::TestWithParam<PlugInPlace> {};

TEST_P(CodecLibraryLookup, PrefersTheInstalledLibraryFolderOverTheProgramsOwn) {
    const PlugInPlace& c = GetParam();
    ScratchFolder prefix;
    const std::filesystem::path program = prefix / "bin";
    const std::filesystem::path library =
        (program / TIDEPOOL_PLUGIN_FOLDER_FROM_PROGRAM).lexically_normal();
    const std::filesystem::path plugIn =
        std::filesystem::path(TIDEPOOL_PLUGIN_DIR) / kCodecLibraryFileName;
    std::filesystem::create_directories(program);
    std::filesystem::create_directories(library);
    if (c.inLibraryFolder)
        std::filesystem::copy_file(plugIn, library / kCodecLibraryFileName);
    if (c.besideProgram)
        std::filesystem::copy_file(plugIn, program / kCodecLibraryFileName);

    CodecLibrary codec(program);
    EXPECT_EQ(codec.present(), c.found != Found::Nowhere);
    if (c.found == Found::Nowhere)
        return;
    const auto& folder = c.found == Found::InLibraryFolder ? library : program;
    EXPECT_EQ(codec.file(), folder / kCodecLibraryFileName);
    EXPECT_NE(codec.functions(), nullptr) << codec.bindError();
    EXPECT_EQ(codec.programFolder(), program);
}

INSTANTIATE_TEST_SUITE_P(
    Places, CodecLibraryLookup,
    ::testing::Values(PlugInPlace{"InstalledPackage", true, false, Found::InLibraryFolder},
                      PlugInPlace{"BuildTree", false, true, Found::BesideProgram},
                      PlugInPlace{"BothLibraryFirst", true, true, Found::InLibraryFolder},
                      PlugInPlace{"Neither", false, false, Found::Nowhere}),
    [](const auto& info) { return info.param.name; });

} // namespace
} // namespace tidepool
