#include "imgctl/png_file.h"

#include "imgctl/dib.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>
#include <zlib.h>

namespace tidepool::imgctl {

namespace {

constexpr std::array<unsigned char, 8> kSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::uint32_t kLargestChunk = 0x7FFFFFFFu; // the format's own limit

std::uint32_t bigEndian32(const unsigned char* bytes) {
    return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
           std::uint32_t{bytes[2]} << 8 | bytes[3];
}

bool readExactly(std::istream& in, unsigned char* into, std::size_t size) {
    in.read(reinterpret_cast<char*>(into), static_cast<std::streamsize>(size));
    return static_cast<std::size_t>(in.gcount()) == size;
}

bool isChunkType(const unsigned char* type) {
    for (int i = 0; i < 4; ++i) {
        const unsigned char c = type[i];
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')))
            return false;
    }
    return true;
}

// The bit depths the format allows for each colour type.
bool isValidDepth(unsigned colourType, unsigned depth) {
    switch (colourType) {
    case 0: // grey
        return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3: // palette
        return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2: // RGB
    case 4: // grey and alpha
    case 6: // RGBA
        return depth == 8 || depth == 16;
    default:
        return false;
    }
}

struct Header {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

constexpr std::uint32_t kHeaderLength = 13;

bool parseHeader(const unsigned char* data, Header& header) {
    header.width = bigEndian32(data);
    header.height = bigEndian32(data + 4);
    const unsigned depth = data[8], colourType = data[9];
    const bool standard = data[10] == 0 && data[11] == 0 && data[12] <= 1;
    return standard && isValidDepth(colourType, depth) &&
           isAllowedSize(header.width, header.height);
}

// Goes through every chunk to IEND, checking each checksum in blocks, so that neither a long
// chunk nor a long file costs more memory than one block.
bool isWholePng(std::istream& in, Header& header) {
    std::array<unsigned char, kSignature.size()> signature{};
    if (!readExactly(in, signature.data(), signature.size()) || signature != kSignature)
        return false;
    std::vector<unsigned char> block(1 << 16);
    bool first = true, sawImageData = false;
    for (;;) {
        unsigned char lengthAndType[8];
        if (!readExactly(in, lengthAndType, sizeof lengthAndType))
            return false;
        const std::uint32_t length = bigEndian32(lengthAndType);
        const unsigned char* type = lengthAndType + 4;
        if (length > kLargestChunk || !isChunkType(type))
            return false;
        const bool isHeader = std::memcmp(type, "IHDR", 4) == 0;
        if (isHeader != first || (isHeader && length != kHeaderLength))
            return false;

        uLong crc = crc32(0, type, 4);
        for (std::uint32_t left = length; left > 0;) {
            const std::size_t piece = std::min<std::size_t>(left, block.size());
            if (!readExactly(in, block.data(), piece))
                return false;
            crc = crc32(crc, block.data(), static_cast<uInt>(piece));
            left -= static_cast<std::uint32_t>(piece);
        }
        unsigned char stored[4];
        if (!readExactly(in, stored, sizeof stored) || bigEndian32(stored) != crc)
            return false;
        if (isHeader && !parseHeader(block.data(), header))
            return false;

        first = false;
        sawImageData |= std::memcmp(type, "IDAT", 4) == 0;
        if (std::memcmp(type, "IEND", 4) == 0)
            return sawImageData && length == 0;
    }
}

} // namespace

std::shared_ptr<const PngFile> PngFile::open(const char* path) {
    // Only an ordinary file: a pipe given as a picture would otherwise be waited on.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return nullptr;
    std::ifstream in(path, std::ios::binary);
    Header header;
    if (!in || !isWholePng(in, header))
        return nullptr;
    return std::shared_ptr<const PngFile>(new PngFile(std::move(in),
                                                      static_cast<std::int32_t>(header.width),
                                                      static_cast<std::int32_t>(header.height)));
}

std::ptrdiff_t PngFile::read(std::int64_t offset, unsigned char* into, std::size_t size) const {
    const std::lock_guard lock(mutex_);
    in_.clear();
    if (!in_.seekg(offset))
        return -1;
    in_.read(reinterpret_cast<char*>(into), static_cast<std::streamsize>(size));
    if (in_.bad())
        return -1;
    return static_cast<std::ptrdiff_t>(in_.gcount());
}

} // namespace tidepool::imgctl
