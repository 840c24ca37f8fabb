#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <random>

class QWidget;

namespace tidepool::testing {

// Random input over a program's windows, as a user with no idea of them would give it: clicks,
// double clicks, drags, the wheel, keys and typed text, pastes and drops, resizes. The same seed
// gives the same choices. Input goes where a user's could: into the open menu or modal dialog
// when there is one, else into one of the program's windows, at a point inside it. Each event is
// written to standard output, so a failing run can be followed to its last step.
class RandomInput : public QObject {
  public:
    // windows gives the program's windows as they stand (it may reopen them); droppedFiles are
    // the paths a drop may carry.
    RandomInput(std::uint32_t seed, int events, std::function<QList<QWidget*>()> windows,
                QStringList droppedFiles);

    // Starts sending; calls done once the last event has been sent and every menu and dialog
    // left open is closed again.
    void start(std::function<void()> done);

  private:
    // Sends one event, the next one already scheduled, so that a dialog that this event opens
    // gets the events that follow from inside its own event loop.
    void scheduleStep();
    void step();
    void finish();
    QWidget* pickWindow();
    QPoint pickPoint(const QWidget& window);
    void bringToFront(QWidget* window);
    QWidget* focusIn(QWidget* window);
    void click(QWidget* window);
    void drag(QWidget* window);
    void wheel(QWidget* window);
    void key(QWidget* window);
    void type(QWidget* window);
    void paste(QWidget* window);
    void drop(QWidget* window);
    void resize(QWidget* window);
    int pick(int count);
    QString randomText();
    void log(const QString& what);

    std::mt19937 random_;
    int remaining_;
    int sent_ = 0;
    QPointer<QWidget> waitingFor_; // the window an event waits to see in front
    std::function<QList<QWidget*>()> windows_;
    QStringList droppedFiles_;
    std::function<void()> done_;
};

} // namespace tidepool::testing
