#pragma once

#include <chrono>

namespace radiosim {

// Every deadline in the simulator is measured on this clock, so wall-clock jumps never
// disturb pacing or the bench timeline.
using Clock = std::chrono::steady_clock;
using TimePoint = Clock::time_point;
using Duration = Clock::duration;

} // namespace radiosim
