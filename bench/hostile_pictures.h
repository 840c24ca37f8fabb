#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tidepool::bench {

// A background picture file of under 1 MB made to cost as much as possible to load, or one at
// the size limit that tests how many copies of it loading holds at once.
struct HostilePicture {
    std::string_view name;
    std::string_view extension; // decides the decoder, as the file name does in the program
    std::string_view what;
};

// Every kind, in the order the benchmark reports them.
const std::vector<HostilePicture>& HostilePictures();

// The file's bytes. Deterministic; some kinds take a second or two to make.
std::string MakeHostilePicture(std::string_view name);

} // namespace tidepool::bench
