#include "imgctl/png_file.h"

#include "imgctl/dib.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
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

bool readExactly(int fd, std::int64_t offset, unsigned char* into, std::size_t size) {
    while (size > 0) {
        const ssize_t got = ::pread(fd, into, size, offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        into += got;
        offset += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
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

bool parseHeader(const unsigned char* data, std::uint32_t length, Header& header) {
    if (length != 13)
        return false;
    header.width = bigEndian32(data);
    header.height = bigEndian32(data + 4);
    const unsigned depth = data[8], colourType = data[9];
    const bool standard = data[10] == 0 && data[11] == 0 && data[12] <= 1;
    return standard && isValidDepth(colourType, depth) &&
           isAllowedSize(header.width, header.height);
}

// Goes through every chunk to IEND, checking each checksum in blocks, so that neither a long
// chunk nor a long file costs more memory than one block.
bool isWholePng(int fd, Header& header) {
    std::array<unsigned char, kSignature.size()> signature{};
    if (!readExactly(fd, 0, signature.data(), signature.size()) || signature != kSignature)
        return false;
    std::vector<unsigned char> block(1 << 16);
    std::int64_t offset = kSignature.size();
    bool first = true, sawImageData = false;
    for (;;) {
        unsigned char lengthAndType[8];
        if (!readExactly(fd, offset, lengthAndType, sizeof lengthAndType))
            return false;
        const std::uint32_t length = bigEndian32(lengthAndType);
        const unsigned char* type = lengthAndType + 4;
        if (length > kLargestChunk || !isChunkType(type))
            return false;
        const bool isHeader = std::memcmp(type, "IHDR", 4) == 0;
        if (isHeader != first)
            return false;
        offset += sizeof lengthAndType;

        uLong crc = crc32(0, type, 4);
        for (std::uint32_t left = length; left > 0;) {
            const std::size_t piece = std::min<std::size_t>(left, block.size());
            if (!readExactly(fd, offset, block.data(), piece))
                return false;
            if (isHeader && !parseHeader(block.data(), length, header))
                return false;
            crc = crc32(crc, block.data(), static_cast<uInt>(piece));
            offset += static_cast<std::int64_t>(piece);
            left -= static_cast<std::uint32_t>(piece);
        }
        if (isHeader && length == 0)
            return false;
        unsigned char stored[4];
        if (!readExactly(fd, offset, stored, sizeof stored) || bigEndian32(stored) != crc)
            return false;
        offset += sizeof stored;

        first = false;
        sawImageData |= std::memcmp(type, "IDAT", 4) == 0;
        if (std::memcmp(type, "IEND", 4) == 0)
            return sawImageData && length == 0;
    }
}

} // namespace

std::shared_ptr<const PngFile> PngFile::open(const char* path) {
    // Not blocking, so that a pipe given as a picture is refused rather than waited on.
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return nullptr;
    struct stat info {};
    Header header;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || !isWholePng(fd, header)) {
        ::close(fd);
        return nullptr;
    }
    return std::shared_ptr<const PngFile>(new PngFile(fd, static_cast<std::int32_t>(header.width),
                                                      static_cast<std::int32_t>(header.height)));
}

PngFile::~PngFile() {
    ::close(fd_);
}

std::ptrdiff_t PngFile::read(std::int64_t offset, unsigned char* into, std::size_t size) const {
    for (;;) {
        const ssize_t got = ::pread(fd_, into, size, offset);
        if (got >= 0 || errno != EINTR)
            return got;
    }
}

} // namespace tidepool::imgctl
