#pragma once

#include "ui/main/background_task.h"
#include "ui/main/drawing_work.h"

#include <QObject>
#include <QThreadPool>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace tidepool {

// The window's drawings, run off its thread one at a time. A drawing asked for while one runs
// waits behind it, and a newer one takes its place, so the newest settings are always drawn next
// and no canvas is ever shown over a newer one. Each outcome is handed to the window in turn. A
// drawing under way when the window goes is finished first, unseen.
class DrawingQueue : public QObject {
  public:
    using ShownCanvas = std::function<std::shared_ptr<const DrawingSurface>()>;
    using Present = std::function<void(DrawingOutcome&)>;

    // shown gives the canvas the window shows now; present shows an outcome (the next drawing
    // starts once it returns, so it may show messages and wait for the user).
    DrawingQueue(ShownCanvas shown, Present present);

    void request(DrawingRequest request);
    // Whether a drawing asked for is not yet shown.
    bool busy() const { return running_ || waiting_.has_value(); }
    // Whether a drawing waits behind the one running.
    bool waiting() const { return waiting_.has_value(); }
    // Calls then at once when no drawing asked for is outstanding, else from the event loop once
    // every drawing asked for so far is shown (or was replaced by a newer one that is).
    void afterOutstanding(std::function<void()> then);

  private:
    void start(DrawingRequest request);
    void finished(DrawingOutcome outcome);
    void callDue();

    ShownCanvas shown_;
    Present present_;
    WorkBuffers buffers_; // the job's between drawings; the running drawing holds them
    // The canvas shown since the last drawing, and the one shown before it, which the next
    // drawing draws on once nothing holds it any more (a save may still be writing it): two
    // canvases serve every drawing, not one new one each.
    std::shared_ptr<DrawingSurface> shownCanvas_;
    std::shared_ptr<DrawingSurface> spareCanvas_;
    std::optional<DrawingRequest> waiting_;
    bool running_ = false;      // from the start of a drawing until its outcome has been presented
    std::uint64_t asked_ = 0;   // drawings asked for so far
    std::uint64_t started_ = 0; // the number of the one running, or last run
    std::uint64_t shownUpTo_ = 0;
    std::vector<std::pair<std::uint64_t, std::function<void()>>> afterwards_;
    // Every drawing on the one thread, as all of them ran on the window's before: the memory one
    // drawing gives back is the next one's, where each thread would keep some of its own.
    QThreadPool thread_;
    BackgroundTask<DrawingOutcome> task_;
};

} // namespace tidepool
