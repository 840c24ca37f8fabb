#pragma once

// PNG files put together byte by byte, for the cases no encoder makes: damaged image data, sizes
// past the limits, chunks in a chosen order. The caller links zlib.

#include <zlib.h>

#include <cstdint>
#include <string>

namespace tidepool::testing {

// No zero byte in it, so it ends where a C string does.
inline constexpr char kPngSignature[] = "\x89PNG\r\n\x1a\n";

inline std::string BigEndian32(std::uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

// The length, the type, the data and the checksum over type and data.
inline std::string PngChunk(const std::string& type, const std::string& data) {
    const std::string body = type + data;
    const auto crc =
        crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
    return BigEndian32(static_cast<std::uint32_t>(data.size())) + body +
           BigEndian32(static_cast<std::uint32_t>(crc));
}

// raw as one whole zlib stream, as image data is stored.
inline std::string Compressed(const std::string& raw) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string stream(size, '\0');
    compress(reinterpret_cast<Bytef*>(stream.data()), &size,
             reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()));
    stream.resize(size);
    return stream;
}

} // namespace tidepool::testing
