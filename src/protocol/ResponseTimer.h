#pragma once

// The response timer WaitTimer. Its tick calls ModComm::WaitTimer_Timer.
class ResponseTimer {
  public:
    virtual ~ResponseTimer() = default;
    // (Re)starts the timer: the tick falls intervalMs from now.
    virtual void Start(int intervalMs) = 0;
    virtual void Stop() = 0;
    virtual bool IsRunning() const = 0;
};
