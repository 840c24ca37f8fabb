#pragma once

#include <algorithm>
#include <chrono>
#include <thread>

namespace tidepool {

// The one time limit of a whole application: every tool, bus call and check after it waits only
// for what is left, so that a slow first way cannot make the whole take longer.
class Deadline {
  public:
    using Clock = std::chrono::steady_clock;

    explicit Deadline(std::chrono::milliseconds limit)
        : limit_(limit), end_(Clock::now() + limit) {}
    // A share of a whole application's time, ending after share; limit() says the whole's.
    Deadline(std::chrono::milliseconds share, std::chrono::milliseconds whole)
        : limit_(whole), end_(Clock::now() + share) {}

    // The whole application's time limit, for reports.
    std::chrono::milliseconds limit() const { return limit_; }
    std::chrono::milliseconds remaining() const {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end_ - Clock::now());
        return std::max(left, std::chrono::milliseconds(0));
    }
    bool passed() const { return Clock::now() >= end_; }

  private:
    std::chrono::milliseconds limit_;
    Clock::time_point end_;
};

// Asks check until it says yes or the deadline passes, whichever is first; true when it said yes.
// For what a desktop does a moment after it is told (rewrite its settings, start a drawer).
template <typename Check> bool PollUntil(const Deadline& deadline, Check check) {
    constexpr std::chrono::milliseconds kInterval{40};
    for (;;) {
        if (check())
            return true;
        if (deadline.passed())
            return false;
        std::this_thread::sleep_for(std::min(kInterval, deadline.remaining()));
    }
}

} // namespace tidepool
