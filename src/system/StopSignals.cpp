#include "StopSignals.h"

#ifndef _WIN32
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// The handler may only write: the socket pair is all it knows.
int signalPipe[2] = {-1, -1};
constexpr int Caught[] = {SIGINT, SIGTERM, SIGHUP};

void OnSignal(int signal) {
    const auto byte = static_cast<char>(signal);
    [[maybe_unused]] const auto written = ::write(signalPipe[0], &byte, 1);
}
} // namespace

StopSignals::StopSignals(std::function<void(int signal)> onSignal) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) {
        return; // the signals keep their default: the program ends
    }
    notifier_ = std::make_unique<QSocketNotifier>(signalPipe[1], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated,
                     [onSignal = std::move(onSignal)] {
                         char byte = 0;
                         if (::read(signalPipe[1], &byte, 1) == 1) {
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
