#pragma once

#include <QApplication>
#include <QFutureWatcher>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <functional>
#include <utility>

namespace tidepool {

// What becomes of a piece of work still running when the window that started it goes.
// Either way its result is dropped.
enum class OnClose {
    Finish,  // the window waits for it to end: a file being written is written whole
    Abandon, // it runs to its end on its own, so it must own everything it uses
};

// One piece of a command's work at a time, run off the window's thread under the busy cursor;
// its result is handed to done on the window's thread, the busy cursor gone by then.
template <typename Result> class BackgroundTask {
  public:
    BackgroundTask(OnClose onClose, std::function<void(Result)> done)
        : onClose_(onClose), done_(std::move(done)) {
        QObject::connect(&watcher_, &QFutureWatcher<Result>::finished, &watcher_,
                         [this] { finished(); });
    }
    ~BackgroundTask() {
        if (!running_)
            return;
        if (onClose_ == OnClose::Finish)
            watcher_.waitForFinished();
        QApplication::restoreOverrideCursor();
    }
    BackgroundTask(const BackgroundTask&) = delete;
    BackgroundTask& operator=(const BackgroundTask&) = delete;

    bool running() const { return running_; }

    // Starts work, a callable returning Result that owns everything it uses, on one of pool's
    // threads; only while none runs.
    template <typename Work>
    void start(Work work, QThreadPool* pool = QThreadPool::globalInstance()) {
        running_ = true;
        QApplication::setOverrideCursor(Qt::BusyCursor);
        watcher_.setFuture(QtConcurrent::run(pool, std::move(work)));
    }

  private:
    void finished() {
        QApplication::restoreOverrideCursor();
        running_ = false;
        // Moved out, not copied: a drawing's result holds its canvas and work buffers.
        done_(watcher_.future().takeResult());
    }

    OnClose onClose_;
    std::function<void(Result)> done_;
    QFutureWatcher<Result> watcher_;
    bool running_ = false;
};

} // namespace tidepool
