#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <limits>
#include <memory>
#include <thread>

namespace tidepool {

// An end brought forward from outside an application, for when the program is ending while one
// runs: the window that started it on a worker thread holds it too. Safe across threads.
class Cutoff {
  public:
    using Clock = std::chrono::steady_clock;

    // Every deadline sharing this ends within `within` from now, or when it would have ended if
    // that is sooner. Only ever brings the end forward.
    void request(std::chrono::milliseconds within) {
        const Clock::rep wanted = (Clock::now() + within).time_since_epoch().count();
        Clock::rep current = end_.load();
        while (wanted < current && !end_.compare_exchange_weak(current, wanted)) {
        }
    }
    bool requested() const { return end_.load() != kNever; }
    Clock::time_point end() const { return Clock::time_point(Clock::duration(end_.load())); }

  private:
    static constexpr Clock::rep kNever = std::numeric_limits<Clock::rep>::max();
    std::atomic<Clock::rep> end_{kNever};
};

// The one time limit of a whole application: every tool, bus call and check after it waits only
// for what is left, so that a slow first way cannot make the whole take longer. A cutoff, where
// one is given, ends it sooner.
class Deadline {
  public:
    using Clock = std::chrono::steady_clock;

    explicit Deadline(std::chrono::milliseconds limit, std::shared_ptr<const Cutoff> cutoff = {})
        : limit_(limit), end_(Clock::now() + limit), cutoff_(std::move(cutoff)) {}

    // A share of the same application's time, ending after share, or with this one if that is
    // sooner; limit() still says the whole's.
    Deadline share(std::chrono::milliseconds share) const {
        Deadline part = *this;
        part.end_ = std::min(end_, Clock::now() + share);
        return part;
    }

    // A wait on the user rather than on the machine (a question the desktop asks), which the
    // application's time does not bound: it ends after wait from now, or sooner at the cutoff.
    Deadline forTheUser(std::chrono::milliseconds wait) const {
        Deadline user = *this;
        user.end_ = Clock::now() + wait;
        return user;
    }

    // The whole application's time limit, for reports.
    std::chrono::milliseconds limit() const { return limit_; }
    std::chrono::milliseconds remaining() const {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end() - Clock::now());
        return std::max(left, std::chrono::milliseconds(0));
    }
    bool passed() const { return Clock::now() >= end(); }
    // Whether the program asked for the application to end sooner.
    bool cutShort() const { return cutoff_ && cutoff_->requested(); }

  private:
    Clock::time_point end() const { return cutoff_ ? std::min(end_, cutoff_->end()) : end_; }

    std::chrono::milliseconds limit_;
    Clock::time_point end_;
    std::shared_ptr<const Cutoff> cutoff_;
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
