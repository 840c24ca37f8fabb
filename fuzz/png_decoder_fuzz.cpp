// Feeds arbitrary bytes to the plug-in's PNG reader as a file, as the program would hand it one
// from disk, and exercises what a caller does next with any picture that comes out.
//
// The first input byte chooses a mode; the rest is the file. With its lowest bit set, every
// chunk's checksum is corrected first: libpng rejects a mutated chunk on its checksum, so
// without this almost no mutated header or image data would get as far as decoding.
#include "imgctl/imgctl.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>
#include <zlib.h>

namespace {

// One file per fuzzing process, rewritten for every input and removed when the process ends.
class InputFile {
  public:
    InputFile() {
        std::random_device seed;
        path_ = std::filesystem::temp_directory_path() /
                ("png-decoder-fuzz-" + std::to_string(::getpid()) + "-" + std::to_string(seed()) +
                 ".png");
    }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }

    bool write(const std::uint8_t* data, std::size_t size) const {
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        return static_cast<bool>(out.flush());
    }

    std::string path() const { return path_.string(); }

  private:
    std::filesystem::path path_;
};

std::uint32_t readBigEndian32(const std::uint8_t* bytes) {
    return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
           std::uint32_t{bytes[2]} << 8 | bytes[3];
}

void writeBigEndian32(std::uint8_t* bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

// Walks the chunks after the 8-byte signature and rewrites each checksum that fits in the data.
void correctChunkChecksums(std::vector<std::uint8_t>& file) {
    constexpr std::size_t kSignature = 8, kLengthAndType = 8, kChecksum = 4;
    std::size_t at = kSignature;
    while (file.size() - at >= kLengthAndType + kChecksum) {
        const std::size_t length = readBigEndian32(&file[at]);
        if (length > file.size() - at - kLengthAndType - kChecksum)
            return;
        const std::uint8_t* typeAndData = &file[at + 4];
        const auto checksum = crc32(0, typeAndData, static_cast<uInt>(4 + length));
        writeBigEndian32(&file[at + kLengthAndType + length], static_cast<std::uint32_t>(checksum));
        at += kLengthAndType + length + kChecksum;
    }
}

// The whole picture into a surface of its size, as the program loads it: decoded straight into
// the surface. Skipped for pictures too large to be worth a fuzzing run's time.
void copyWholePicture(std::int32_t dib,
                      const std::array<std::uint8_t, IMGCTL_HEADER_SIZE>& header) {
    const auto read32 = [&](std::size_t at) {
        return static_cast<std::int32_t>(header[at] | header[at + 1] << 8 | header[at + 2] << 16 |
                                         std::uint32_t{header[at + 3]} << 24);
    };
    const std::int32_t width = read32(4), height = read32(8);
    if (width <= 0 || height <= 0 || std::int64_t{width} * height > (1 << 22))
        return;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    const ImgctlSurface surface{pixels.data(), width, height, width};
    DIBtoDC(&surface, 0, 0, 0, 0, dib, 0, 0, IMGCTL_SRCCOPY);
}

void useDecodedPicture(std::int32_t dib) {
    std::array<std::uint8_t, IMGCTL_HEADER_SIZE> header{};
    if (HeadDIB(dib, header.data()) != 0)
        copyWholePicture(dib, header);
    // Smaller than most decoded pictures and placed off the corner, so clipping is exercised.
    std::array<std::uint32_t, 16 * 12> pixels{};
    const ImgctlSurface surface{pixels.data(), 16, 12, 16};
    DIBtoDC(&surface, -3, 2, 0, 0, dib, 1, 0, IMGCTL_SRCCOPY);
    DeleteDIB(dib);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const InputFile input;
    if (size == 0)
        return 0;
    std::vector<std::uint8_t> file(data + 1, data + size);
    if ((data[0] & 1) != 0 && file.size() >= 8)
        correctChunkChecksums(file);
    if (!input.write(file.data(), file.size()))
        return 0;
    const std::int32_t dib = PNGtoDIB(input.path().c_str());
    if (dib != 0)
        useDecodedPicture(dib);
    return 0;
}
