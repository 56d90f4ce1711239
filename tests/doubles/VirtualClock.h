#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <utility>

// Virtual time in milliseconds. Callbacks scheduled for a time run in time
// order; callbacks for the same time run in the order they were scheduled.
// Nothing here looks at real time.
class VirtualClock {
  public:
    using Time = std::int64_t;
    using EventId = std::uint64_t;

    Time Now() const { return now_; }

    // Schedules action at the given time (a past time means now).
    EventId At(Time when, std::function<void()> action);
    EventId After(Time delay, std::function<void()> action) {
        return At(now_ + delay, std::move(action));
    }
    // Forgets a scheduled action; unknown or already run ids are ignored.
    void Cancel(EventId id);

    // Runs every action due within ms from now, then stands at now + ms.
    void Advance(Time ms);
    // Runs actions until none is left or the next lies beyond now + limit.
    // True when nothing is left.
    bool RunUntilIdle(Time limit);
    // Runs actions until done() holds (checked before each one) or the next
    // lies beyond now + limit. Returns done().
    bool RunUntil(const std::function<bool()>& done, Time limit);

    bool Idle() const { return events_.empty(); }
    std::size_t Pending() const { return events_.size(); }
    std::uint64_t EventsRun() const { return eventsRun_; }

  private:
    using Key = std::pair<Time, EventId>;
    bool RunNext(Time until);

    Time now_ = 0;
    EventId nextId_ = 1;
    std::uint64_t eventsRun_ = 0;
    std::map<Key, std::function<void()>> events_;
    std::map<EventId, Time> times_;
};
