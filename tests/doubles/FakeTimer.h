#pragma once

#include "doubles/VirtualClock.h"
#include "protocol/ResponseTimer.h"

#include <functional>
#include <vector>

// The response timer on the virtual clock. Like the window's timer it ticks
// every interval until stopped; each tick calls the handler wired with
// SetOnTick (the protocol's time-out handler).
class FakeTimer : public ResponseTimer {
  public:
    explicit FakeTimer(VirtualClock& clock) : clock_(clock) {}
    ~FakeTimer() override;

    void SetOnTick(std::function<void()> onTick) { onTick_ = std::move(onTick); }

    void Start(int intervalMs) override;
    void Stop() override;
    bool IsRunning() const override { return running_; }

    int StartCount() const { return static_cast<int>(starts_.size()); }
    int StopCount() const { return stopCount_; }
    int TickCount() const { return tickCount_; }
    // Interval given to each Start, in order.
    const std::vector<int>& StartIntervals() const { return starts_; }
    // Virtual time at which the next tick falls (meaningful while running).
    VirtualClock::Time DueAt() const { return dueAt_; }

  private:
    void Schedule();
    void Cancel();
    void Tick();

    VirtualClock& clock_;
    std::function<void()> onTick_;
    bool running_ = false;
    int interval_ = 0;
    bool pending_ = false;
    VirtualClock::EventId pendingId_ = 0;
    VirtualClock::Time dueAt_ = 0;
    std::vector<int> starts_;
    int stopCount_ = 0;
    int tickCount_ = 0;
};
