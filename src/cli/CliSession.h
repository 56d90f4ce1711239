#pragma once

#include "CliOptions.h"
#include "CliWindow.h"
#include "protocol/ModComm.h"
#include "system/QtResponseTimer.h"
#include "system/QtSerialControl.h"

#include <QString>

// Exit statuses of radioinfo-cli.
enum ExitStatus : int {
    ExitDone = 0,
    ExitOutput = 1, // stdout or stderr could not be written
    ExitUsage = 2,
    ExitPort = 3,
    ExitCommunication = 4,
    ExitModel = 5,
    ExitInterrupted = 130,
};

// One run of radioinfo-cli: the core driven by a Qt event loop, the way the
// window drives it.
class CliSession {
  public:
    CliSession(int langType, QtSerialControl::PortResolver resolver);

    int Run(const CliOptions& options, std::int16_t portNo);
    // Ctrl+C: stops what runs, as the batch's Stop click does.
    void Interrupt();

  private:
    int Read();
    int Write(const CliOptions& options);
    int Batch(const CliOptions& options);
    int Wait();
    void ApplyFields(const CliOptions& options);

    ModData data_;
    CliWindow window_;
    QtSerialControl serial_;
    QtResponseTimer timer_;
    ModComm comm_;
    bool interrupted_ = false;
    std::function<void()> quit_;
};
