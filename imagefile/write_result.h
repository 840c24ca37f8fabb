#pragma once

#include <string>
#include <utility>

namespace tidepool {

// The outcome of writing a file. A failure always carries a one-line reason fit to show the
// user, so no caller can mistake a failed write for a written file.
class [[nodiscard]] WriteResult {
  public:
    static WriteResult Success() { return WriteResult(); }
    static WriteResult Failure(std::string reason) {
        return WriteResult(reason.empty() ? std::string("unknown write error") : std::move(reason));
    }

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }

  private:
    WriteResult() = default;
    explicit WriteResult(std::string reason) : error_(std::move(reason)) {}

    std::string error_;
};

} // namespace tidepool
