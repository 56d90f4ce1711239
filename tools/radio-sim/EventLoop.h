#pragma once

#include "OutputLine.h"
#include "Simulator.h"

namespace radiosim {

// Turns SIGINT and SIGTERM into a readable descriptor, so that the poll loop notices them
// without racing against its own sleep.
class StopSignals {
  public:
    StopSignals(); // throws std::system_error
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    int fd() const { return readFd_; }

  private:
    int readFd_ = -1;
};

// Serves the pty until a stop signal or the simulated hang-up. Single-threaded: all
// waiting happens in poll(), whose timeout is the nearest output or simulator deadline.
void runEventLoop(int master, int stopFd, Simulator& simulator, OutputLine& output);

} // namespace radiosim
