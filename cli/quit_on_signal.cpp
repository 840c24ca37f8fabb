#include "cli/quit_on_signal.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace tidepool::cli {

namespace {

// What the handler may touch: plain integers and a pipe.
int signalPipe[2] = {-1, -1};
volatile std::sig_atomic_t busy = 0;

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

extern "C" void OnSignal(int number) {
    if (busy != 0)
        _exit(128 + number);
    const unsigned char byte = static_cast<unsigned char>(number);
    const ssize_t written = ::write(signalPipe[1], &byte, 1);
    static_cast<void>(written);
}

} // namespace

QuitOnSignal::QuitOnSignal(QObject* parent) : QObject(parent) {
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &QuitOnSignal::readSignal);
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : kSignals)
        ::sigaction(number, &action, nullptr);
}

QuitOnSignal::~QuitOnSignal() {
    for (const int number : kSignals)
        std::signal(number, SIG_DFL);
    delete notifier_;
    for (int& fd : signalPipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void QuitOnSignal::readSignal() {
    unsigned char byte = 0;
    if (::read(signalPipe[0], &byte, 1) == 1) {
        received_ = byte;
        QCoreApplication::quit();
    }
}

QuitOnSignal::Busy::Busy() {
    busy = 1;
}

QuitOnSignal::Busy::~Busy() {
    busy = 0;
}

} // namespace tidepool::cli
