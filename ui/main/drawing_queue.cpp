#include "ui/main/drawing_queue.h"

#include <QTimer>

#include <algorithm>

namespace tidepool {

DrawingQueue::DrawingQueue(ShownCanvas shown, Present present)
    : shown_(std::move(shown)), present_(std::move(present)),
      task_(OnClose::Finish, [this](DrawingOutcome outcome) { finished(std::move(outcome)); }) {
    thread_.setMaxThreadCount(1);
}

void DrawingQueue::request(DrawingRequest request) {
    ++asked_;
    if (running_)
        waiting_ = std::move(request);
    else
        start(std::move(request));
}

void DrawingQueue::afterOutstanding(std::function<void()> then) {
    if (shownUpTo_ == asked_)
        then();
    else
        afterwards_.emplace_back(asked_, std::move(then));
}

void DrawingQueue::start(DrawingRequest request) {
    running_ = true;
    started_ = asked_;
    std::shared_ptr<DrawingSurface> spare;
    if (spareCanvas_.use_count() == 1)
        spare = std::move(spareCanvas_);
    task_.start(
        [request = std::move(request), shown = shown_(), spare = std::move(spare),
         buffers = std::move(buffers_)]() mutable {
            return RunDrawing(std::move(request), *shown, std::move(spare), std::move(buffers));
        },
        &thread_);
}

void DrawingQueue::finished(DrawingOutcome outcome) {
    buffers_ = std::move(outcome.buffers);
    spareCanvas_ = std::exchange(shownCanvas_, outcome.canvas);
    // Requests that come while the outcome is presented (behind a message) wait their turn.
    present_(outcome);
    shownUpTo_ = started_;
    running_ = false;
    if (waiting_) {
        DrawingRequest next = std::move(*waiting_);
        waiting_.reset();
        start(std::move(next));
    }
    callDue();
}

// From the event loop, not from within finished(): what they start (a modal dialog) may see the
// next drawing end meanwhile.
void DrawingQueue::callDue() {
    const auto due =
        std::stable_partition(afterwards_.begin(), afterwards_.end(),
                              [this](const auto& waiter) { return waiter.first > shownUpTo_; });
    for (auto it = due; it != afterwards_.end(); ++it)
        QTimer::singleShot(0, this, std::move(it->second));
    afterwards_.erase(due, afterwards_.end());
}

} // namespace tidepool
