#pragma once

#include <QSocketNotifier>

#include <functional>
#include <memory>

// SIGINT, SIGTERM and SIGHUP (Ctrl+C, a shutdown, a logout or a terminal
// closed) reach the event loop through a socket pair, where stopping is
// safe: onSignal runs there, once for each signal, with its number. While the object lives,
// the signals no longer end the program by themselves. One at a time; on
// Windows it does nothing.
class StopSignals {
  public:
    explicit StopSignals(std::function<void(int signal)> onSignal);
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

  private:
    std::unique_ptr<QSocketNotifier> notifier_;
};
