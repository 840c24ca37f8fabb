#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <vector>

namespace tidepool {

// What a JPEG file's markers say about the work of decoding it, read without decoding: its frame
// and how many scans it holds. A decoder goes through every block of the picture once per scan,
// however little data the scan carries, and takes a scan repeated with the same parameters as a
// mere warning, so the count comes from the markers rather than from what the frame promises.
struct JpegLayout {
    struct Component {
        int horizontal = 1; // sampling factors, 1 to 4
        int vertical = 1;
    };
    int width = 0;
    int height = 0;
    bool progressive = false;
    std::vector<Component> components;
    std::int64_t scans = 0; // start-of-scan markers before the end of the image
};

// Walks the markers of the JPEG data in `in` as a decoder finds them: segments by their lengths,
// entropy-coded data up to the next marker that is neither a restart nor a stuffed byte, and
// stray bytes between segments skipped. Stops at the end-of-image marker or the end of the data.
// Empty when the data does not start as a JPEG or has no frame header before its first scan.
std::optional<JpegLayout> ReadJpegLayout(std::istream& in);

// The bytes a decoder keeps for the whole picture's coefficients when it needs them all at once
// (a progressive file, or one in several scans): 128 bytes for each 8 x 8 block of each
// component, padded to whole sampling units. 0 for a single-scan sequential file, which is
// decoded a band at a time.
std::int64_t JpegCoefficientBytes(const JpegLayout& layout);

} // namespace tidepool
