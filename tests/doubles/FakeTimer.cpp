#include "doubles/FakeTimer.h"

FakeTimer::~FakeTimer() {
    Cancel();
}

void FakeTimer::Start(int intervalMs) {
    Cancel();
    starts_.push_back(intervalMs);
    interval_ = intervalMs;
    running_ = intervalMs > 0;
    if (running_) {
        Schedule();
    }
}

void FakeTimer::Stop() {
    ++stopCount_;
    running_ = false;
    Cancel();
}

void FakeTimer::Schedule() {
    dueAt_ = clock_.Now() + interval_;
    pendingId_ = clock_.At(dueAt_, [this] { Tick(); });
    pending_ = true;
}

void FakeTimer::Cancel() {
    if (pending_) {
        clock_.Cancel(pendingId_);
        pending_ = false;
    }
}

void FakeTimer::Tick() {
    pending_ = false;
    ++tickCount_;
    Schedule(); // ticks again unless the handler stops or restarts it
    if (onTick_) {
        onTick_();
    }
}
