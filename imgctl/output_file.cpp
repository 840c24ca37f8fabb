#include "imgctl/output_file.h"

#include <system_error>

namespace tidepool::imgctl {

OutputFile::OutputFile(const char* path) : path_(path), stream_(std::fopen(path, "wb")) {
    created_ = stream_ != nullptr;
}

OutputFile::~OutputFile() {
    if (!created_ || committed_)
        return;
    stream_.reset();
    // A device such as /dev/full can fail a write too; only an ordinary file is ours to remove.
    std::error_code error;
    if (std::filesystem::is_regular_file(path_, error))
        std::filesystem::remove(path_, error);
}

bool OutputFile::write(std::span<const unsigned char> bytes) {
    if (!stream_ || writeFailed_)
        return false;
    // Remembered, as a library writing through this may not pass a failed write on.
    writeFailed_ = std::fwrite(bytes.data(), 1, bytes.size(), stream_.get()) != bytes.size();
    return !writeFailed_;
}

bool OutputFile::commit() {
    if (!stream_)
        return false;
    std::FILE* stream = stream_.release();
    const bool flushed = std::fflush(stream) == 0 && std::ferror(stream) == 0;
    const bool closed = std::fclose(stream) == 0;
    committed_ = !writeFailed_ && flushed && closed;
    return committed_;
}

} // namespace tidepool::imgctl
