#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;

namespace tidepool::cli {

// Ends a long-running command cleanly on SIGTERM, SIGINT or SIGHUP: the signal is passed through
// a pipe to the event loop, which quits. While a Busy lives (work that does not return to the
// event loop, such as an application of the wallpaper), a signal ends the process at once
// instead, so that it always ends within a moment. One per process.
class QuitOnSignal : public QObject {
    Q_OBJECT

  public:
    explicit QuitOnSignal(QObject* parent = nullptr);
    ~QuitOnSignal() override;

    // Marks work during which a signal ends the process at once.
    class Busy {
      public:
        Busy();
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;
        ~Busy();
    };

    // The signal that quit the event loop, 0 while none has.
    int received() const { return received_; }

  private:
    void readSignal();

    QSocketNotifier* notifier_ = nullptr;
    int received_ = 0;
};

} // namespace tidepool::cli
