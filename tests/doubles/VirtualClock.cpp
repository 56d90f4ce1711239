#include "doubles/VirtualClock.h"

VirtualClock::EventId VirtualClock::At(Time when, std::function<void()> action) {
    if (when < now_) {
        when = now_;
    }
    const EventId id = nextId_++;
    events_.emplace(Key{when, id}, std::move(action));
    times_.emplace(id, when);
    return id;
}

void VirtualClock::Cancel(EventId id) {
    const auto it = times_.find(id);
    if (it == times_.end()) {
        return;
    }
    events_.erase(Key{it->second, id});
    times_.erase(it);
}

bool VirtualClock::RunNext(Time until) {
    if (events_.empty()) {
        return false;
    }
    const auto first = events_.begin();
    if (first->first.first > until) {
        return false;
    }
    now_ = first->first.first;
    auto action = std::move(first->second);
    times_.erase(first->first.second);
    events_.erase(first);
    ++eventsRun_;
    action();
    return true;
}

void VirtualClock::Advance(Time ms) {
    const Time until = now_ + ms;
    while (RunNext(until)) {
    }
    now_ = until;
}

bool VirtualClock::RunUntilIdle(Time limit) {
    const Time until = now_ + limit;
    while (RunNext(until)) {
    }
    return events_.empty();
}

bool VirtualClock::RunUntil(const std::function<bool()>& done, Time limit) {
    const Time until = now_ + limit;
    while (!done()) {
        if (!RunNext(until)) {
            return done();
        }
    }
    return true;
}
