#include "StopSignals.h"

#ifndef _WIN32
#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// The handler may only write: the socket pair is all it knows.
int signalPipe[2] = {-1, -1};
constexpr int Caught[] = {SIGINT, SIGTERM, SIGHUP};

// A program started with stdin, stdout or stderr closed would get one of
// those numbers for the socket pair, and take its own output for signals:
// each end goes above them.
int AboveStandardStreams(int fd) {
    if (fd > STDERR_FILENO) {
        return fd;
    }
    const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    ::close(fd);
    return moved;
}

void OnSignal(int signal) {
    const auto byte = static_cast<char>(signal);
    [[maybe_unused]] const auto written = ::write(signalPipe[0], &byte, 1);
}
} // namespace

StopSignals::StopSignals(std::function<void(int signal)> onSignal) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) {
        return; // the signals keep their default: the program ends
    }
    for (int& end : signalPipe) {
        end = AboveStandardStreams(end);
    }
    if (signalPipe[0] < 0 || signalPipe[1] < 0) {
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(signalPipe[1], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated,
                     [onSignal = std::move(onSignal)] {
                         char byte = 0;
                         if (::read(signalPipe[1], &byte, 1) == 1 &&
                             std::ranges::find(Caught, byte) != std::end(Caught)) {
                             onSignal(byte);
                         }
                     });
    for (const int signal : Caught) {
        std::signal(signal, OnSignal);
    }
}

StopSignals::~StopSignals() {
    if (!notifier_) {
        return;
    }
    for (const int signal : Caught) {
        std::signal(signal, SIG_DFL);
    }
    notifier_.reset();
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}
#else
StopSignals::StopSignals(std::function<void(int)>) {}
StopSignals::~StopSignals() = default;
#endif
