#include "imagefile/jpeg_layout.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace tidepool {
namespace {

constexpr int kEndOfData = -1;

// The data a block at a time, with a fast way past entropy-coded bytes to the next 0xFF.
class ByteSource {
  public:
    explicit ByteSource(std::istream& in) : in_(in) {}

    int get() {
        if (at_ == end_ && !refill())
            return kEndOfData;
        return buffer_[at_++];
    }

    // Leaves the source just past the next 0xFF; false at the end of the data.
    bool skipPastNextFF() {
        for (;;) {
            if (at_ == end_ && !refill())
                return false;
            const void* found = std::memchr(buffer_.data() + at_, 0xFF, end_ - at_);
            if (found != nullptr) {
                at_ = static_cast<std::size_t>(static_cast<const unsigned char*>(found) -
                                               buffer_.data()) +
                      1;
                return true;
            }
            at_ = end_;
        }
    }

    // False when the data ends first.
    bool skip(std::size_t count) {
        while (count > 0) {
            if (at_ == end_ && !refill())
                return false;
            const std::size_t step = std::min(count, end_ - at_);
            at_ += step;
            count -= step;
        }
        return true;
    }

  private:
    bool refill() {
        in_.read(reinterpret_cast<char*>(buffer_.data()), buffer_.size());
        at_ = 0;
        end_ = static_cast<std::size_t>(in_.gcount());
        return end_ > 0;
    }

    std::istream& in_;
    std::array<unsigned char, 1 << 16> buffer_{};
    std::size_t at_ = 0;
    std::size_t end_ = 0;
};

bool IsRestart(int code) {
    return code >= 0xD0 && code <= 0xD7;
}

// The start-of-frame markers: C0 to CF except DHT (C4), JPG (C8) and DAC (CC).
bool IsFrame(int code) {
    return code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC;
}

bool IsProgressiveFrame(int code) {
    return code == 0xC2 || code == 0xC6 || code == 0xCA || code == 0xCE;
}

// The code of the next marker: any bytes before its 0xFF are skipped, as are fill bytes (extra
// 0xFF) and a stray 0xFF 0x00, as a decoder skips them between segments.
int NextMarker(ByteSource& source) {
    for (;;) {
        if (!source.skipPastNextFF())
            return kEndOfData;
        int code = source.get();
        while (code == 0xFF)
            code = source.get();
        if (code != 0x00)
            return code;
    }
}

// Past entropy-coded data to the marker that ends it: 0xFF 0x00 is a data byte and a restart
// marker is part of the scan.
int MarkerAfterScanData(ByteSource& source) {
    for (;;) {
        const int code = NextMarker(source);
        if (!IsRestart(code))
            return code;
    }
}

// The segment's length field, counting itself; 0 when it is missing or impossible.
int SegmentLength(ByteSource& source) {
    const int high = source.get();
    const int low = source.get();
    if (high < 0 || low < 0)
        return 0;
    const int length = high << 8 | low;
    return length >= 2 ? length : 0;
}

bool ReadFrame(ByteSource& source, int length, JpegLayout& layout) {
    std::array<int, 6> head{};
    if (length < 8)
        return false;
    for (int& byte : head)
        if ((byte = source.get()) < 0)
            return false;
    layout.height = head[1] << 8 | head[2];
    layout.width = head[3] << 8 | head[4];
    const int count = head[5];
    if (length != 8 + 3 * count)
        return false;
    for (int i = 0; i < count; ++i) {
        const int id = source.get(), sampling = source.get(), table = source.get();
        if (id < 0 || sampling < 0 || table < 0)
            return false;
        layout.components.push_back({std::max(1, sampling >> 4), std::max(1, sampling & 0x0F)});
    }
    return true;
}

std::int64_t CeilDivide(std::int64_t value, std::int64_t by) {
    return (value + by - 1) / by;
}

std::int64_t RoundUp(std::int64_t value, std::int64_t to) {
    return CeilDivide(value, to) * to;
}

} // namespace

std::optional<JpegLayout> ReadJpegLayout(std::istream& in) {
    ByteSource source(in);
    if (source.get() != 0xFF || source.get() != 0xD8)
        return std::nullopt;
    JpegLayout layout;
    bool haveFrame = false;
    int code = NextMarker(source);
    while (code != kEndOfData && code != 0xD9) {
        if (IsRestart(code) || code == 0x01) {
            code = NextMarker(source);
            continue;
        }
        if (code == 0xD8)
            return std::nullopt; // a second start of image: no decoder goes on
        const int length = SegmentLength(source);
        if (length == 0)
            break;
        if (IsFrame(code) && !haveFrame) {
            if (!ReadFrame(source, length, layout))
                return std::nullopt;
            layout.progressive = IsProgressiveFrame(code);
            haveFrame = true;
            code = NextMarker(source);
        } else if (code == 0xDA) {
            if (!haveFrame)
                return std::nullopt;
            ++layout.scans;
            if (!source.skip(static_cast<std::size_t>(length - 2)))
                break;
            code = MarkerAfterScanData(source);
        } else {
            if (!source.skip(static_cast<std::size_t>(length - 2)))
                break;
            code = NextMarker(source);
        }
    }
    if (!haveFrame)
        return std::nullopt;
    return layout;
}

std::int64_t JpegCoefficientBytes(const JpegLayout& layout) {
    if (!layout.progressive && layout.scans <= 1)
        return 0;
    int mostAcross = 1, mostDown = 1;
    for (const JpegLayout::Component& c : layout.components) {
        mostAcross = std::max(mostAcross, c.horizontal);
        mostDown = std::max(mostDown, c.vertical);
    }
    constexpr std::int64_t kBytesPerBlock = 64 * 2;
    std::int64_t bytes = 0;
    for (const JpegLayout::Component& c : layout.components) {
        const std::int64_t across =
            CeilDivide(std::int64_t{layout.width} * c.horizontal, 8 * std::int64_t{mostAcross});
        const std::int64_t down =
            CeilDivide(std::int64_t{layout.height} * c.vertical, 8 * std::int64_t{mostDown});
        bytes += RoundUp(across, c.horizontal) * RoundUp(down, c.vertical) * kBytesPerBlock;
    }
    return bytes;
}

} // namespace tidepool
