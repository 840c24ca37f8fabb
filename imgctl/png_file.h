#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <memory>
#include <mutex>

namespace tidepool::imgctl {

// A PNG file found whole and held open until its pixels are wanted, so that a picture is decoded
// once, straight into the buffer that keeps it, and never held twice.
//
// Whole means: the signature, then chunks whose lengths fit in the file and whose checksums are
// right, IHDR first with a valid header of a size the plug-in allows, at least one IDAT, and
// IEND. What follows IEND is ignored. Only the image data itself is left for decoding to find
// sound or not.
class PngFile {
  public:
    // Null when the file cannot be read or is not whole. Reads the file once, without inflating
    // anything.
    static std::shared_ptr<const PngFile> open(const char* path);

    PngFile(const PngFile&) = delete;
    PngFile& operator=(const PngFile&) = delete;

    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }

    // Reads up to size bytes from offset; the count read, 0 at the end, negative on an error.
    // Safe from several threads at once.
    std::ptrdiff_t read(std::int64_t offset, unsigned char* into, std::size_t size) const;

  private:
    PngFile(std::ifstream in, std::int32_t width, std::int32_t height)
        : in_(std::move(in)), width_(width), height_(height) {}

    mutable std::mutex mutex_; // one reader of the stream at a time
    mutable std::ifstream in_;
    std::int32_t width_;
    std::int32_t height_;
};

} // namespace tidepool::imgctl
