#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <span>

namespace tidepool::imgctl {

// A file being written. Unless commit() succeeds, the file is removed again when this object
// goes, so a failed write never leaves a truncated picture behind under the caller's name.
class OutputFile {
  public:
    // Creates or truncates the file at path; check isOpen().
    explicit OutputFile(const char* path);
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile();

    bool isOpen() const { return stream_ != nullptr; }
    std::FILE* stream() const { return stream_.get(); }

    bool write(std::span<const unsigned char> bytes);

    // Flushes and closes the file; true only when every byte reached it and closing succeeded.
    bool commit();

  private:
    struct CloseStream {
        void operator()(std::FILE* stream) const { std::fclose(stream); }
    };

    std::filesystem::path path_; // kept as a path so the destructor needs no allocation
    std::unique_ptr<std::FILE, CloseStream> stream_;
    bool created_ = false;
    bool writeFailed_ = false;
    bool committed_ = false;
};

} // namespace tidepool::imgctl
